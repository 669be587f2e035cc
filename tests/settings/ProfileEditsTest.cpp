#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "common/IniFile.h"
#include "common/TempFolder.h"
#include "settings/ConfigFile.h"
#include "settings/ProfileEdits.h"

namespace orv {
namespace {

using test::TempFolder;

ProfileSettings WithDpi(std::array<uint8_t, 4> enabled, int32_t level) {
    ProfileSettings s;
    SetFactorySettings(s);
    for (size_t i = 0; i < enabled.size(); ++i) {
        s.dpiEnabled[i] = enabled[i];
    }
    s.dpiLevel = level;
    return s;
}

std::array<uint8_t, 4> Enabled(const ProfileSettings& s) {
    return {s.dpiEnabled[0], s.dpiEnabled[1], s.dpiEnabled[2], s.dpiEnabled[3]};
}

TEST(ProfileEdits, DpiEnableBoxKeepsOneLevelEnabledAndCurrent) {
    struct Case {
        std::array<uint8_t, 4> enabled;
        int32_t level;
        int click;
        std::array<uint8_t, 4> expectedEnabled;
        int32_t expectedLevel;
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, 0, 1, {0, 1, 0, 0}, 0},  // checking a level does not select it
        {{1, 1, 0, 0}, 0, 1, {1, 0, 0, 0}, 0},  // unchecking another level keeps the current one
        {{1, 0, 1, 0}, 2, 2, {1, 0, 0, 0}, 0},  // wraps from 3 to 0, skipping disabled 3
        {{0, 1, 1, 1}, 1, 1, {0, 0, 1, 1}, 2},  {{1, 1, 1, 1}, 3, 3, {1, 1, 1, 0}, 0},
        {{0, 0, 1, 0}, 2, 2, {0, 0, 1, 0}, 2},   // the only enabled level stays enabled and current
        {{1, 1, 1, 1}, 0, -1, {1, 1, 1, 1}, 0},  // no such level
        {{1, 1, 1, 1}, 0, 4, {1, 1, 1, 1}, 0},
    };
    for (const Case& c : cases) {
        ProfileSettings s = WithDpi(c.enabled, c.level);
        ToggleDpiEnabled(s, c.click);
        EXPECT_EQ(Enabled(s), c.expectedEnabled) << "click " << c.click << " level " << c.level;
        EXPECT_EQ(s.dpiLevel.load(), c.expectedLevel) << "click " << c.click << " level " << c.level;
    }
}

TEST(ProfileEdits, OnlyAnEnabledDpiLevelCanBeSelected) {
    struct Case {
        int click;
        int32_t expectedLevel;
    };
    for (const Case& c : {Case{2, 2}, Case{1, 0}, Case{-1, 0}, Case{4, 0}}) {
        ProfileSettings s = WithDpi({1, 0, 1, 0}, 0);
        SelectDpiLevel(s, c.click);
        EXPECT_EQ(s.dpiLevel.load(), c.expectedLevel) << c.click;
    }
}

TEST(ProfileEdits, SliderPointScalesOverTheWholeRange) {
    struct Case {
        int px;
        int x;
        int width;
        int32_t expected;
    };
    const Case cases[] = {
        {10, 10, 200, 0},    {110, 10, 200, 150}, {209, 10, 200, 298},
        {210, 10, 200, 300},  // past the right edge stops at the maximum
        {9, 10, 200, 0},     {10, 10, 0, 0},      {50, 10, -5, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FireTimeAtSliderPoint(c.px, c.x, c.width), c.expected) << c.px << " on " << c.x << "+" << c.width;
    }
}

TEST(ProfileEdits, FireTimeSteppersStopAtTheRangeEnds) {
    struct Case {
        int32_t before;
        bool up;
        int32_t after;
    };
    const Case cases[] = {
        {299, true, 300},      {300, true, 300},       {1, false, 0},     {0, false, 0},
        {150, true, 151},      {150, false, 149},      {1000, true, 300},  // a hand-edited value comes back into range
                                                                           // going up
        {1000, false, 999},                                                // and only steps going down
        {-7, false, 0},        {INT32_MAX, true, 300},                     // the extremes do not wrap round
        {INT32_MIN, false, 0},
    };
    for (const Case& c : cases) {
        ProfileSettings s;
        s.fireTime = c.before;
        c.up ? StepFireTimeUp(s) : StepFireTimeDown(s);
        EXPECT_EQ(s.fireTime.load(), c.after) << c.before << (c.up ? " up" : " down");
    }
}

TEST(ProfileEdits, HoldModeToggles) {
    ProfileSettings s;
    s.macroMode = 0;
    ToggleHoldMode(s);
    EXPECT_EQ(s.macroMode.load(), 1);
    ToggleHoldMode(s);
    EXPECT_EQ(s.macroMode.load(), 0);
    s.macroMode = 5;  // hand-edited: counts as on
    ToggleHoldMode(s);
    EXPECT_EQ(s.macroMode.load(), 0);
}

TEST(ProfileEdits, WarningOnlyWhenNoOtherButtonKeepsTheLeftClick) {
    struct Case {
        std::array<int32_t, 6> functions;
        int button;
        bool expected;
    };
    const Case cases[] = {
        {{1, 1, 9, 9, 9, 9}, 2, false},  // two others click
        {{9, 9, 1, 9, 9, 9}, 2, true},   // the only one that clicks
        {{9, 9, 1, 9, 9, 9}, 0, false},  // another one clicks
        {{9, 9, 9, 9, 9, 9}, 5, true},   // none clicks at all
        {{1, 9, 9, 9, 9, 1}, 5, false}, {{41, 2, 3, 4, 5, 6}, 0, true},
    };
    for (const Case& c : cases) {
        ProfileSettings s;
        for (size_t i = 0; i < 6; ++i) {
            s.buttonFunction[i] = c.functions[i];
        }
        EXPECT_EQ(NeedsLeftButtonWarning(s, c.button), c.expected) << "button " << c.button;
    }
}

TEST(ProfileEdits, AChosenFunctionLeavesSomeButtonWithTheLeftClick) {
    struct Case {
        std::array<int32_t, 6> before;
        int button;
        int32_t code;
        std::array<int32_t, 6> after;
    };
    const Case cases[] = {
        {{9, 9, 1, 9, 9, 9}, 2, 3, {9, 9, 3, 1, 9, 9}},    // box 27: the next button takes the click
        {{9, 9, 9, 9, 9, 1}, 5, 3, {9, 9, 9, 9, 9, 1}},    // box 30 has no next button: undone
        {{9, 9, 9, 9, 1, 9}, 4, 41, {9, 9, 9, 9, 41, 1}},  // the next one is the last button
        {{1, 9, 1, 9, 9, 9}, 2, 3, {1, 9, 3, 9, 9, 9}},    // another button still clicks
        {{9, 9, 1, 9, 9, 9}, 2, 1, {9, 9, 1, 9, 9, 9}},
        {{9, 9, 1, 9, 9, 9}, 6, 3, {9, 9, 1, 9, 9, 9}},  // no such button
        {{9, 9, 1, 9, 9, 9}, -1, 3, {9, 9, 1, 9, 9, 9}},
    };
    for (const Case& c : cases) {
        ProfileSettings s;
        for (size_t i = 0; i < 6; ++i) {
            s.buttonFunction[i] = c.before[i];
        }
        AssignButtonFunction(s, c.button, c.code);
        std::array<int32_t, 6> after{};
        for (size_t i = 0; i < 6; ++i) {
            after[i] = s.buttonFunction[i];
        }
        EXPECT_EQ(after, c.after) << "button " << c.button << " code " << c.code;
    }
}

TEST(ProfileEdits, HidingFallsBackToTheAppliedProfileAtTheCurrentLevel) {
    TempFolder folder;
    const auto config = folder / "config.ini";
    ProfileSettings applied;
    SetFactorySettings(applied);
    applied.fireTime = 66;
    applied.dpiLevel = 0;
    ASSERT_TRUE(SaveProfile(config, kAppliedProfile, applied));
    ProfileSettings one = applied;
    one.fireTime = 11;
    ASSERT_TRUE(SaveProfile(config, 1, one));

    ProfileSettings working = applied;
    working.fireTime = 200;  // changed on the window, never applied
    working.dpiLevel = 3;    // the level the mouse is on now
    FallBackToAppliedProfile(config, Language::English(), working);

    EXPECT_EQ(working.fireTime.load(), 66);
    EXPECT_EQ(working.dpiLevel.load(), 3);
    EXPECT_EQ(ini::Read(config, ProfileSection(kAppliedProfile), "DPI_LEVEL", 10), "3");
    ProfileSettings reloaded;
    LoadProfile(config, 1, false, Language::English(), reloaded);
    EXPECT_EQ(reloaded.fireTime.load(), 11);
}

}  // namespace
}  // namespace orv
