#include "skin/HitTest.h"

namespace orv {

int32_t HitTest(int32_t px, int32_t py, std::span<const SkinRegion> regions, int32_t last) {
    for (int32_t i = 0; i <= last && static_cast<size_t>(i) < regions.size(); ++i) {
        if (regions[static_cast<size_t>(i)].Contains(px, py)) {
            return i;
        }
    }
    return region::kNone;
}

}  // namespace orv
