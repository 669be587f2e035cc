#pragma once
#include <cstdint>
#include <span>

#include "skin/Regions.h"
#include "skin/SkinLayout.h"

namespace orv {

// The number of the first region 0..last that contains the point (SkinRegion::Contains), or
// region::kNone. Regions are tried in ascending order, so where two overlap the lower number
// wins; a last beyond the table stops at its end.
int32_t HitTest(int32_t px, int32_t py, std::span<const SkinRegion> regions, int32_t last);

}  // namespace orv
