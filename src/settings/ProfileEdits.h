#pragma once
#include <cstdint>
#include <filesystem>

#include "common/Language.h"
#include "settings/ProfileSettings.h"

namespace orv {

// The edits the window makes to the working settings, with the rules that keep a profile
// usable. They change only the record in memory unless said otherwise; the mouse hears of
// them at the next apply.

// The fire time's range in milliseconds: the slider spans it and the steppers stop at its ends.
inline constexpr int32_t kMinFireTime = 0;
inline constexpr int32_t kMaxFireTime = 300;

// The enable check box of DPI level 0..3. Checking never selects the level. Unchecking the
// current level moves dpiLevel to the next enabled level (upwards, wrapping from 3 to 0); the
// last enabled level cannot be unchecked. Other levels are ignored.
void ToggleDpiEnabled(ProfileSettings& settings, int level);

// The selector of DPI level 0..3: only an enabled level becomes current.
void SelectDpiLevel(ProfileSettings& settings, int level);

// The fire time for a click at px on a slider starting at sliderX: the offset scaled to the
// range over the slider's width, never above the maximum; left of the slider, or on a slider
// without width, the minimum.
int32_t FireTimeAtSliderPoint(int px, int sliderX, int sliderWidth);

// The steppers: one millisecond up or down, stopping at the range's ends.
void StepFireTimeUp(ProfileSettings& settings);
void StepFireTimeDown(ProfileSettings& settings);

// Hold mode (macroMode 1) on or off.
void ToggleHoldMode(ProfileSettings& settings);

// Before a button's function may change: true when no other button keeps the left click, so
// that this one may be the last that clicks.
bool NeedsLeftButtonWarning(const ProfileSettings& settings, int button);

// A function chosen for button 0..5 in its menu. When no button keeps the left click after it,
// the next button gets it; for the last button, which has no next one, the choice is undone
// and it keeps the left click itself. Other buttons are ignored.
void AssignButtonFunction(ProfileSettings& settings, int button, int32_t code);

// The left-click rule of AssignButtonFunction after button's function has changed.
void EnsureLeftClick(ProfileSettings& settings, int button);

// What hiding the window does to unapplied changes: they are dropped, and the working
// settings become the last applied ones (profile 6) again, keeping the DPI level the mouse is
// on now, which is first written into profile 6.
void FallBackToAppliedProfile(const std::filesystem::path& configFile, Language language, ProfileSettings& settings);

}  // namespace orv
