#pragma once
#include <cstdint>

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace orv {

struct SkinRect;

// A control rectangle of the skin (right and bottom edges outside) as Qt has it.
QRect ControlRect(const SkinRect& rect);

// Width of the drawn fire-time bar on a slider of the given width.
int FireTimeBarWidth(int32_t fireTime, int width);

// The coloured part of a DPI step cell: one pixel in from the left, top and right edges.
QRect DpiCellFill(QRect cell);

// Top-left corner of a text of the given size centred in the region (halves truncate toward
// zero, so a text wider than its region starts left of it).
QPoint CentredTextOrigin(QRect region, QSize text);

// Where a popup opens for a box it belongs to (screen coordinates): below the box at its left
// edge, or above the box where the area has no room below, moved left as far as the area's
// right edge needs. A popup taller than the room on either side starts at the area's top.
QPoint PopupBelowOrAbove(QRect box, QSize popup, QRect area);
// Where a sub-menu opens beside its menu: right of it with its top at top, or left of it where
// the area has no room on the right, moved up or down as far as the area needs.
QPoint PopupBeside(QRect menu, int top, QSize popup, QRect area);
// The available geometry of the screen that holds the box (the taskbars and panels left out);
// that of fallback's screen where no screen holds the box's centre.
QRect ScreenAreaFor(QRect box, const QWidget& fallback);

}  // namespace orv
