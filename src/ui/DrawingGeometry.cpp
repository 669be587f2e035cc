#include "ui/DrawingGeometry.h"

#include <algorithm>

#include "settings/ProfileEdits.h"

namespace orv {

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

}  // namespace orv
