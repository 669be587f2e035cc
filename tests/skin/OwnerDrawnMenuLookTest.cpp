#include <gtest/gtest.h>

#include <string>

#include "skin/OwnerDrawnMenuLook.h"

namespace orv {
namespace {

TEST(OwnerDrawnMenuLook, ItemsMeasureEightPixelsPerCharacter) {
    EXPECT_EQ(MeasureMenuItem("Modify Delay", false), (MenuItemSize{96, 20}));
    EXPECT_EQ(MeasureMenuItem("项前插入    ", false), (MenuItemSize{64, 20}));  // the blanks count
    EXPECT_EQ(MeasureMenuItem("Down ", false), (MenuItemSize{40, 20}));
    EXPECT_EQ(MeasureMenuItem("", true), (MenuItemSize{0, 1}));
}

TEST(OwnerDrawnMenuLook, HighlightStepsEachChannelByAWholeStep) {
    const auto lines = MenuHighlightGradient(18);  // a 20-pixel item inside its frame
    ASSERT_EQ(lines.size(), 18u);
    for (size_t k = 0; k < lines.size(); ++k) {
        EXPECT_EQ(lines[k], (MenuRgb{0, static_cast<uint8_t>(14 * k), 255})) << k;
    }
    EXPECT_EQ(lines.back().green, 238);  // short of cyan
    EXPECT_EQ(MenuHighlightGradient(1), (std::vector<MenuRgb>{{0, 0, 255}}));
    EXPECT_TRUE(MenuHighlightGradient(0).empty());
}

}  // namespace
}  // namespace orv
