#include "ui/DrawingGeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "settings/ProfileEdits.h"
#include "skin/SkinLayout.h"

namespace orv {

QRect ControlRect(const SkinRect& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

int FireTimeBarWidth(int32_t fireTime, int width) {
    // A hand-edited fire time outside the range would otherwise draw past the slider.
    const auto time = static_cast<uint32_t>(std::clamp(fireTime, kMinFireTime, kMaxFireTime) - kMinFireTime);
    if (width <= 0)
        return 0;
    return static_cast<int>(time * static_cast<uint32_t>(width) / static_cast<uint32_t>(kMaxFireTime - kMinFireTime));
}

QRect DpiCellFill(QRect cell) { return {cell.x() + 1, cell.y() + 1, cell.width() - 2, cell.height() - 1}; }

QPoint CentredTextOrigin(QRect region, QSize text) {
    // C++ division truncates toward zero, as the skin's layouts expect.
    return {region.x() + (region.width() - text.width()) / 2, region.y() + (region.height() - text.height()) / 2};
}

namespace {

// The start of a span of the given length within [low, high): as wanted, else moved back
// inside, the low end winning where the span is longer than the range.
int KeepWithin(int wanted, int length, int low, int high) { return std::max(low, std::min(wanted, high - length)); }

}  // namespace

QPoint PopupBelowOrAbove(QRect box, QSize popup, QRect area) {
    const int areaBottom = area.y() + area.height();
    const int x = KeepWithin(box.x(), popup.width(), area.x(), area.x() + area.width());
    const int below = box.y() + box.height();
    if (below + popup.height() <= areaBottom)
        return {x, below};
    const int above = box.y() - popup.height();
    if (above >= area.y())
        return {x, above};
    return {x, KeepWithin(below, popup.height(), area.y(), areaBottom)};
}

QPoint PopupBeside(QRect menu, int top, QSize popup, QRect area) {
    const int areaRight = area.x() + area.width();
    int x = menu.x() + menu.width();
    if (x + popup.width() > areaRight)
        x = menu.x() - popup.width();
    return {KeepWithin(x, popup.width(), area.x(), areaRight),
            KeepWithin(top, popup.height(), area.y(), area.y() + area.height())};
}

QRect ScreenAreaFor(QRect box, const QWidget& fallback) {
    const QScreen* screen = QGuiApplication::screenAt(box.center());
    if (screen == nullptr)
        screen = fallback.screen();
    if (screen != nullptr)
        return screen->availableGeometry();
    // Without any screen there is nothing to stay on: the popups open where they would.
    constexpr int kUnbounded = 1 << 24;
    return {-kUnbounded, -kUnbounded, 2 * kUnbounded, 2 * kUnbounded};
}

}  // namespace orv
