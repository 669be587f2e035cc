#include "ui/PageRules.h"

#include <algorithm>

namespace orv {

void ToggleDpiEnabled(ProfileSettings& settings, int n)
{
    if (n < 0 || n > 3)
        return;
    const auto level = static_cast<size_t>(n);
    if (settings.dpiEnabled[level] == 0) {
        settings.dpiEnabled[level] = 1;
        return;
    }
    settings.dpiEnabled[level] = 0;
    if (settings.dpiLevel != n)
        return;
    for (int step = 1; step < 4; ++step) {
        const int candidate = (n + step) % 4;
        if (settings.dpiEnabled[static_cast<size_t>(candidate)] != 0) {
            settings.dpiLevel = candidate;
            return;
        }
    }
    settings.dpiLevel = n;
    settings.dpiEnabled[level] = 1;
}

void SelectDpiLevel(ProfileSettings& settings, int n)
{
    if (n >= 0 && n <= 3 && settings.dpiEnabled[static_cast<size_t>(n)] != 0)
        settings.dpiLevel = n;
}

int32_t FireTimeFromClick(int px, int x, int width)
{
    if (width <= 0 || px < x)
        return 0;
    const uint32_t offset = static_cast<uint32_t>(px - x);
    return static_cast<int32_t>(std::min<uint32_t>(offset * 300u / static_cast<uint32_t>(width), 300u));
}

int FireTimeBarWidth(int32_t fireTime, int width)
{
    // A hand-edited fire time outside 0..300 would otherwise draw past the slider.
    const auto time = static_cast<uint32_t>(std::clamp<int32_t>(fireTime, 0, 300));
    if (width <= 0)
        return 0;
    return static_cast<int>(time * static_cast<uint32_t>(width) / 300u);
}

QRect DpiCellFill(QRect cell)
{
    return {cell.x() + 1, cell.y() + 1, cell.width() - 2, cell.height() - 1};
}

QPoint CentredTextOrigin(QRect region, QSize text)
{
    // C++ division truncates toward zero, as the skin's layouts expect.
    return {region.x() + (region.width() - text.width()) / 2,
            region.y() + (region.height() - text.height()) / 2};
}

int ShownDpi(uint8_t appliedDpiCode)
{
    return DpiForCode(appliedDpiCode);
}

}  // namespace orv
