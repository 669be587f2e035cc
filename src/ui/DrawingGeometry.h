#pragma once
#include <cstdint>

#include <QPoint>
#include <QRect>
#include <QSize>

namespace orv {

// Width of the drawn fire-time bar on a slider of the given width.
int FireTimeBarWidth(int32_t fireTime, int width);

// The coloured part of a DPI step cell: one pixel in from the left, top and right edges.
QRect DpiCellFill(QRect cell);

// Top-left corner of a text of the given size centred in the region (halves truncate toward
// zero, so a text wider than its region starts left of it).
QPoint CentredTextOrigin(QRect region, QSize text);

}  // namespace orv
