#pragma once
#include <cstdint>

// The region numbers the program acts on, named once. A region is an entry of a skin table
// (MainRegions, AdvancedRegions, ColorRegions, WarningRegions); the skin is authored to put
// each role at its number, so these numbers are part of the skin's format.
namespace orv::region {

// What a hit test gives when the point lies in no region.
inline constexpr int32_t kNone = 255;

// MainRegions. 0..19 form the header shown on every page; the rest belong to the main page.
namespace main {
inline constexpr int32_t kSave = 0;
inline constexpr int32_t kHideToTray = 2;
inline constexpr int32_t kApply = 3;
inline constexpr int32_t kFirstProfile = 4;  // profile 1; profile n is kFirstProfile + n - 1
inline constexpr int32_t kLastProfile = 8;
inline constexpr int32_t kMainTab = 9;  // the page tabs follow in page order: main, advanced, color
inline constexpr int32_t kAdvancedTab = 10;
inline constexpr int32_t kColorTab = 11;
inline constexpr int32_t kMinimise = 12;
inline constexpr int32_t kClose = 13;
inline constexpr int32_t kImportProfile = 14;
inline constexpr int32_t kExportProfile = 15;
inline constexpr int32_t kDefaults = 16;
inline constexpr int32_t kChinese = 17;
inline constexpr int32_t kEnglish = 18;
inline constexpr int32_t kLastHeader = 19;
inline constexpr int32_t kHeaderCount = kLastHeader + 1;

inline constexpr int32_t kFirstButtonBox = 25;  // box of buttonFunction[0]; six boxes
inline constexpr int32_t kLastButtonBox = 30;
inline constexpr int32_t kFirstWheelStatus = 41;  // wheelStatus 0 and 1
inline constexpr int32_t kLastWheelStatus = 42;
inline constexpr int32_t kFirstDpiEnabled = 46;  // check box of dpiEnabled[0]; four
inline constexpr int32_t kLastDpiEnabled = 49;
inline constexpr int32_t kFirstDpiLevel = 54;  // selector of dpiLevel 0; four
inline constexpr int32_t kLastDpiLevel = 57;
inline constexpr int32_t kFirstDpiCell = 66;  // 4 rows of kDpiCellsPerLevel step cells
inline constexpr int32_t kDpiCellsPerLevel = 12;
inline constexpr int32_t kLastDpiCell = kFirstDpiCell + 4 * kDpiCellsPerLevel - 1;
inline constexpr int32_t kLastOnMainPage = 114;  // the last region hit-tested on the main page
// The part of the mouse drawing that lights up over box kFirstButtonBox + i is
// kFirstMousePart + i.
inline constexpr int32_t kFirstMousePart = 115;
inline constexpr int32_t kLastMousePart = 120;
inline constexpr int32_t kLabelCount = 54;  // labels drawn on the main page: 0..53

constexpr int32_t ProfileButton(int32_t profile) { return kFirstProfile + profile - 1; }
constexpr int32_t PageTab(int32_t page) { return kMainTab + page; }
constexpr int32_t ButtonBox(int32_t button) { return kFirstButtonBox + button; }
constexpr int32_t MousePart(int32_t button) { return kFirstMousePart + button; }
constexpr int32_t WheelStatusSwitch(int32_t status) { return kFirstWheelStatus + status; }
constexpr int32_t DpiEnabledBox(int32_t level) { return kFirstDpiEnabled + level; }
constexpr int32_t DpiLevelSelector(int32_t level) { return kFirstDpiLevel + level; }
constexpr int32_t DpiCell(int32_t level, int32_t step) { return kFirstDpiCell + kDpiCellsPerLevel * level + step; }
}  // namespace main

// AdvancedRegions (the macro page).
namespace advanced {
inline constexpr int32_t kImportMacros = 0;
inline constexpr int32_t kExportMacros = 1;
inline constexpr int32_t kAddMacro = 2;
inline constexpr int32_t kDeleteMacro = 3;
inline constexpr int32_t kRecord = 4;
inline constexpr int32_t kStoreRepeatCount = 5;
inline constexpr int32_t kRepeat = 6;
inline constexpr int32_t kHoldMode = 7;
inline constexpr int32_t kFirstPointerSpeed = 8;  // pointerSpeed 0..9
inline constexpr int32_t kLastPointerSpeed = 17;
inline constexpr int32_t kFirstWheelSpeed = 18;  // wheelSpeed 0..9
inline constexpr int32_t kLastWheelSpeed = 27;
inline constexpr int32_t kFireTimeSlider = 30;
inline constexpr int32_t kFireTimeUp = 31;
inline constexpr int32_t kFireTimeDown = 32;
inline constexpr int32_t kFireTimeText = 33;
inline constexpr int32_t kLastHitTested = 37;
inline constexpr int32_t kDownLinesText = 43;
inline constexpr int32_t kUpLinesText = 44;
inline constexpr int32_t kLabelCount = 52;
inline constexpr int32_t kScaleSteps = 10;  // values of each 0..9 scale

constexpr int32_t PointerSpeedSegment(int32_t speed) { return kFirstPointerSpeed + speed; }
constexpr int32_t WheelSpeedSegment(int32_t speed) { return kFirstWheelSpeed + speed; }
}  // namespace advanced

// ColorRegions (the lighting page).
namespace color {
inline constexpr int32_t kFirstMode = 0;  // ledStatus 0..3
inline constexpr int32_t kLastMode = 3;
inline constexpr int32_t kLastHitTested = 4;
inline constexpr int32_t kDpiText = 9;
inline constexpr int32_t kPreview = 11;
inline constexpr int32_t kLabelCount = 13;

constexpr int32_t ModeTile(int32_t ledStatus) { return kFirstMode + ledStatus; }
}  // namespace color

// WarningRegions (the left-button warning).
namespace warning {
inline constexpr int32_t kConfirm = 0;
inline constexpr int32_t kCancel = 1;
inline constexpr int32_t kMessage = 2;
}  // namespace warning

}  // namespace orv::region
