#pragma once

class QWidget;

namespace orv {

// With ORV_GMOUSE_FIRST_PAINT_MARK set, the window's first paint prints one line to standard
// error, "first-paint NANOSECONDS", the monotonic clock's time when that paint has finished, so
// that a benchmark started on the same machine measures the time from start to a visible
// window. Without the variable nothing is watched.
void MarkFirstPaint(QWidget& window);

}  // namespace orv
