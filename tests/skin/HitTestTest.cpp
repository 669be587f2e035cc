#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "skin/HitTest.h"

namespace orv {
namespace {

TEST(HitTest, FirstRegionUpToTheLastIndexContainingThePoint) {
    // 0 is empty, 1 lies inside 2, 3 lies far off to the right.
    const std::vector<SkinRegion> regions = {
        {0, 0, 0, 0, ""}, {10, 10, 20, 20, ""}, {0, 0, 100, 100, ""}, {INT32_MAX - 5, 0, 10, 10, ""}};
    struct Case {
        int32_t px;
        int32_t py;
        int32_t last;
        int32_t expected;
    };
    const Case cases[] = {
        {0, 0, 3, 2},    // an empty region contains nothing
        {10, 10, 3, 1},  // left and top edges inside; the lower number wins
        {29, 29, 3, 1},
        {30, 10, 3, 2},              // right edge outside
        {10, 30, 3, 2},              // bottom edge outside
        {15, 15, 0, region::kNone},  // regions past the last index are not tried
        {15, 15, 1, 1},
        {-1, 0, 3, region::kNone},
        {100, 50, 3, region::kNone},
        {INT32_MAX, 5, 3, 3},  // no overflow at the far edge
        {INT32_MAX, 5, 2, region::kNone},
        {50, 50, 1000, 2},  // a last index beyond the table stops at its end
        {50, 50, -1, region::kNone},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HitTest(c.px, c.py, regions, c.last), c.expected) << c.px << "," << c.py << " last " << c.last;
    }
}

}  // namespace
}  // namespace orv
