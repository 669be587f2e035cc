#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "settings/FunctionMenuRules.h"

namespace orv {
namespace {

TEST(FunctionMenuRules, MainMenuFromA160By301Mask) {
    const MenuGeometry menu = MainMenuGeometry(160, 301);
    EXPECT_EQ(menu.width, 160);
    EXPECT_EQ(menu.rowHeight, 30);
    EXPECT_EQ(menu.height, 301);

    struct Case {
        int32_t x;
        int32_t y;
        int32_t row;
    };
    const Case cases[] = {
        {0, 0, 1},
        {159, 29, 1},
        {0, 30, 2},
        {80, 269, 9},
        {80, 299, 10},
        {80, 300, 11},  // the bottom pixel line
        {160, 10, kNoMenuRow},
        {-1, 10, kNoMenuRow},
        {10, -1, kNoMenuRow},
        {80, 359, 12},
        {80, 360, kNoMenuRow},  // beyond the tried rows
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MenuRowAt(c.x, c.y, menu.width, menu.rowHeight, kMainMenuHitRows), c.row) << c.x << "," << c.y;
    }
    // Row 11 and no row choose nothing; the sub-menu rows choose nothing by a click either.
    for (int32_t row : {7, 10, 11, 12, kNoMenuRow, 0}) {
        EXPECT_EQ(MainMenuChoice(row), std::nullopt) << row;
    }
    for (int32_t row = 1; row <= 6; ++row) {
        EXPECT_EQ(MainMenuChoice(row), row);
    }
}

TEST(FunctionMenuRules, MasksTooSmallForRowsHitNothing) {
    const MenuGeometry menu = MainMenuGeometry(160, 9);
    EXPECT_EQ(menu.rowHeight, 0);
    EXPECT_EQ(MenuRowAt(5, 0, menu.width, menu.rowHeight, kMainMenuHitRows), kNoMenuRow);
}

TEST(FunctionMenuRules, SubMenuPagesRowsAndPlaces) {
    struct Case {
        int32_t menuRow;
        int32_t macroCount;
        int32_t rows;
        int32_t top;  // in row heights of 30 from the main menu's top
    };
    const Case cases[] = {
        {7, 0, 6, 1},    {8, 0, 10, -2},  {10, 0, 8, 2}, {9, 1, 1, 8},  // level with row 9
        {9, 12, 12, -3},                                                // three rows above the main menu
        {9, 0, 0, 9},    {9, 40, 12, -3},                               // a hand-edited count stops at the slots
        {6, 5, 0, 6},    {11, 5, 0, 11},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SubMenuRowCount(c.menuRow, c.macroCount), c.rows) << c.menuRow << " " << c.macroCount;
        EXPECT_EQ(SubMenuTop(c.menuRow, c.macroCount, 30), c.top * 30) << c.menuRow << " " << c.macroCount;
    }

    const MenuGeometry six = SubMenuGeometry(184, 361, 6);
    EXPECT_EQ(six.rowHeight, 30);
    EXPECT_EQ(six.height, 181);
    EXPECT_EQ(SubMenuGeometry(184, 361, 0).height, 0);
}

TEST(FunctionMenuRules, SubMenuRowsStoreTheirPagesCodes) {
    struct Case {
        int32_t menuRow;
        int32_t subMenuRow;
        int32_t macroCount;
        std::optional<int32_t> code;
    };
    const Case cases[] = {
        {7, 1, 0, 11},
        {7, 6, 0, 16},
        {8, 1, 0, 21},
        {8, 10, 0, 30},
        {10, 1, 0, 31},
        {10, 8, 0, 38},
        {9, 1, 1, 41},
        {9, 12, 12, 52},
        // Off the page's rows: the pixel line below the last row, and no row at all.
        {7, 7, 0, std::nullopt},
        {9, 2, 1, std::nullopt},
        {9, 1, 0, std::nullopt},
        {8, kNoMenuRow, 0, std::nullopt},
        {9, kNoMenuRow, 12, std::nullopt},
        {7, 0, 0, std::nullopt},
        {6, 1, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SubMenuChoice(c.menuRow, c.subMenuRow, c.macroCount), c.code)
            << c.menuRow << " " << c.subMenuRow << " " << c.macroCount;
    }
}

}  // namespace
}  // namespace orv
