#pragma once
#include <cstddef>
#include <cstdint>
#include <iterator>

#include <QPoint>

#include "ui/PageState.h"

namespace orv {

// The first region 0..last containing the point (left and top edges inside, right and bottom
// edges outside), or kNoRegion. Works on any table of regions with x, y, width and height.
template <typename RegionTable>
int32_t HitTest(QPoint point, const RegionTable& regions, int32_t last)
{
    const int64_t px = point.x();
    const int64_t py = point.y();
    for (int32_t i = 0; i <= last && static_cast<size_t>(i) < std::size(regions); ++i) {
        const auto& r = regions[static_cast<size_t>(i)];
        if (px >= r.x && px < int64_t{r.x} + r.width && py >= r.y && py < int64_t{r.y} + r.height)
            return i;
    }
    return kNoRegion;
}

// Last hit-tested index of each table.
inline constexpr int32_t kMainLastOnMainPage = 114;
inline constexpr int32_t kMainLastOnOtherPages = 19;
inline constexpr int32_t kAdvancedLast = 37;
inline constexpr int32_t kColorLast = 4;

}  // namespace orv
