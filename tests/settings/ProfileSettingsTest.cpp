#include <gtest/gtest.h>

#include "settings/ProfileSettings.h"

namespace orv {
namespace {

TEST(ProfileSettings, FactorySettingsKeepTheHoldMode) {
    ProfileSettings s;
    s.macroMode = 1;
    s.buttonFunction[3] = 44;
    s.fireTime = 300;
    SetFactorySettings(s);
    const int32_t buttons[] = {1, 3, 2, 5, 4, 6};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(s.buttonFunction[i], buttons[i]);
    }
    const uint8_t steps[] = {4, 6, 8, 10};
    for (size_t n = 0; n < 4; ++n) {
        EXPECT_EQ(s.dpiStep[n], steps[n]);
        EXPECT_EQ(s.dpiEnabled[n], 1);
    }
    EXPECT_EQ(s.dpiLevel, 0);
    EXPECT_EQ(s.ledStatus, 0);
    EXPECT_EQ(s.pointerSpeed, 4);
    EXPECT_EQ(s.wheelSpeed, 2);
    EXPECT_EQ(s.wheelStatus, 0);
    EXPECT_EQ(s.fireTime, 50);
    EXPECT_EQ(s.reportRate, 2);
    EXPECT_EQ(s.macroMode, 1);
}

TEST(ProfileSettings, FunctionCodesMapToDeviceValuesFlagsActionsAndMenus) {
    const struct {
        int32_t code;
        uint8_t deviceValue;
        ReportFlag flag;
        UtilityAction action;
        uint8_t index;
        uint8_t menuRow;
        uint8_t subMenuRow;
    } cases[] = {
        {-3, 0, ReportFlag::None, UtilityAction::None, 0, 0, 0},
        {0, 0, ReportFlag::None, UtilityAction::None, 0, 0, 0},
        {1, 1, ReportFlag::None, UtilityAction::None, 0, 1, 0},
        {5, 5, ReportFlag::None, UtilityAction::None, 0, 5, 0},
        {6, 6, ReportFlag::DpiReport, UtilityAction::None, 0, 6, 0},
        {8, 0, ReportFlag::None, UtilityAction::None, 0, 0, 0},
        {11, 7, ReportFlag::None, UtilityAction::None, 0, 7, 1},
        {13, 9, ReportFlag::None, UtilityAction::None, 0, 7, 3},
        {14, 10, ReportFlag::RateCycle, UtilityAction::None, 0, 7, 4},
        {15, 11, ReportFlag::DpiReport, UtilityAction::None, 0, 7, 5},
        {16, 12, ReportFlag::DpiReport, UtilityAction::None, 0, 7, 6},
        {17, 13, ReportFlag::None, UtilityAction::None, 0, 0, 0},
        {19, 0, ReportFlag::None, UtilityAction::None, 0, 0, 0},
        {21, 0, ReportFlag::None, UtilityAction::ConsumerUsage, 0, 8, 1},
        {30, 0, ReportFlag::None, UtilityAction::ConsumerUsage, 9, 8, 10},
        {31, 0, ReportFlag::None, UtilityAction::ConstantMacro, 0, 10, 1},
        {38, 0, ReportFlag::None, UtilityAction::ConstantMacro, 7, 10, 8},
        {39, 0, ReportFlag::None, UtilityAction::LaunchCalculator, 0, 0, 0},
        {40, 0, ReportFlag::None, UtilityAction::LaunchCommandPrompt, 0, 0, 0},
        {41, 0, ReportFlag::None, UtilityAction::UserMacro, 0, 9, 1},
        {52, 0, ReportFlag::None, UtilityAction::UserMacro, 11, 9, 12},
        {53, 0, ReportFlag::None, UtilityAction::None, 0, 0, 0},
        {1000, 0, ReportFlag::None, UtilityAction::None, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const FunctionCodeInfo& info = DescribeFunctionCode(c.code);
        EXPECT_EQ(info.deviceValue, c.deviceValue) << c.code;
        EXPECT_EQ(info.flag, c.flag) << c.code;
        EXPECT_EQ(info.action, c.action) << c.code;
        EXPECT_EQ(info.index, c.index) << c.code;
        EXPECT_EQ(info.menuRow, c.menuRow) << c.code;
        EXPECT_EQ(info.subMenuRow, c.subMenuRow) << c.code;
        if (c.menuRow != 0) {
            EXPECT_EQ(FunctionCodeForMenuRow(c.menuRow, c.subMenuRow), c.code);
        }
    }
    EXPECT_EQ(DescribeFunctionCode(41).text, FunctionText::UserMacroName);
    EXPECT_EQ(FunctionCodeForMenuRow(7, 0), -1);
}

TEST(ProfileSettings, DpiAndPointerTables) {
    EXPECT_EQ(DpiCodeForStep(0), 1);
    EXPECT_EQ(DpiCodeForStep(11), 15);
    EXPECT_EQ(DpiCodeForStep(200), 15);
    EXPECT_EQ(DpiForCode(15), 4800);
    EXPECT_EQ(DpiForCode(9), 2000);
    EXPECT_EQ(DpiForCode(8), 200);
    EXPECT_EQ(DpiForCode(0), 200);
    const int speeds[] = {1, 2, 4, 6, 8, 10, 12, 14, 16, 18, 18};
    for (uint8_t step = 0; step <= 10; ++step) {
        EXPECT_EQ(WindowsPointerSpeed(step), speeds[step]) << int(step);
    }
    EXPECT_EQ(WindowsPointerSpeed(255), 18);
    EXPECT_EQ(WheelScrollLines(2), 3);
    EXPECT_EQ(WheelScrollLines(255), 0);
}

}  // namespace
}  // namespace orv
