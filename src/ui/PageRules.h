#pragma once
#include <cstdint>

#include <QPoint>
#include <QRect>
#include <QSize>

#include "settings/ProfileSettings.h"

namespace orv {

// The DPI check box of level n was clicked. Unchecking the current level moves the current
// level to the next enabled one (wrapping); the last enabled level cannot be switched off.
void ToggleDpiEnabled(ProfileSettings& settings, int n);

// The DPI level selector of level n was clicked: only an enabled level becomes current.
void SelectDpiLevel(ProfileSettings& settings, int n);

// Fire time for a click at px on the slider starting at x with the given width (0..300).
int32_t FireTimeFromClick(int px, int x, int width);

// Width of the drawn fire-time bar on a slider of the given width.
int FireTimeBarWidth(int32_t fireTime, int width);

// The coloured part of a DPI step cell: one pixel in from the left, top and right edges.
QRect DpiCellFill(QRect cell);

// Top-left corner of a text of the given size centred in the region (halves truncate toward
// zero, so a text wider than its region starts left of it).
QPoint CentredTextOrigin(QRect region, QSize text);

// The DPI shown in the colour page for the current level's applied code.
int ShownDpi(uint8_t appliedDpiCode);

}  // namespace orv
