#pragma once
#include <array>
#include <cstdint>

#include "common/Relaxed.h"

namespace orv {

// The working settings of the current profile. The window thread owns the record; the
// playback thread writes dpiLevel and reportRate and reads the button functions and
// macroMode, the listener reads macroMode, so every field is a Relaxed cell.
struct ProfileSettings {
    std::array<Relaxed<int32_t>, 6> buttonFunction{};
    Relaxed<int32_t> dpiLevel;
    std::array<Relaxed<uint8_t>, 4> dpiStep{};
    std::array<Relaxed<uint8_t>, 4> dpiEnabled{};
    Relaxed<uint8_t> ledStatus;
    Relaxed<uint8_t> pointerSpeed;
    Relaxed<uint8_t> wheelSpeed;
    Relaxed<int32_t> wheelStatus;
    Relaxed<int32_t> fireTime;
    Relaxed<uint8_t> reportRate;
    Relaxed<int32_t> macroMode;
};

// Profile numbers besides the five user profiles.
inline constexpr int kAppliedProfile = 6;
inline constexpr int kExchangeProfile = 7;

// Factory button functions of profile 1: every button performs the mouse's own function of
// its number.
inline constexpr std::array<uint8_t, 6> DefaultButtonFunction{1, 3, 2, 5, 4, 6};

// Every field except macroMode to the factory values of profile 1.
void SetFactorySettings(ProfileSettings& settings);

// DPI steps 0..11: the mouse's code for each step, and the DPI the window shows for a code.
inline constexpr std::array<uint8_t, 12> DpiCodeTable{1, 2, 3, 4, 5, 6, 7, 9, 11, 13, 14, 15};
inline constexpr std::array<uint16_t, 12> DpiNumberTable{200,  400,  600,  800,  1000, 1200,
                                                         1600, 2000, 2400, 3200, 4000, 4800};
// A step beyond the table (hand-edited files) counts as the last step.
uint8_t DpiCodeForStep(uint8_t step);
// The DPI shown for a device code; a code not in the table shows 200.
int DpiForCode(uint8_t code);

// The Windows pointer speed (1..20 scale) for the profile's pointer-speed step 0..9.
int WindowsPointerSpeed(uint8_t pointerSpeedStep);
// Wheel scroll lines for the profile's wheel-speed step (modulo 256, so 0..9 give 1..10).
int WheelScrollLines(uint8_t wheelSpeedStep);

// What a button's FunctionCode means: the one table that apply, playback, the menus and the
// drawing read.
enum class ReportFlag : uint8_t { None, DpiReport, RateCycle };
enum class UtilityAction : uint8_t {
    None,
    UserMacro,
    ConstantMacro,
    ConsumerUsage,
    LaunchCalculator,
    LaunchCommandPrompt
};
enum class FunctionText : uint8_t { FunctionName, UserMacroName };

struct FunctionCodeInfo {
    uint8_t deviceValue;   // byte 3 of command 0x10
    ReportFlag flag;       // which follow-up flag an apply sets for the button
    UtilityAction action;  // what the playback thread does on a press
    uint8_t index;         // the user macro slot, constant macro or consumer usage the action takes
    uint8_t menuRow;       // main menu row 1..10 that offers it, 0 for none
    uint8_t subMenuRow;    // row of that row's sub-menu, 0 when chosen directly
    FunctionText text;     // where the text shown for it comes from
};

inline constexpr int32_t kLeftClick = 1;
inline constexpr int32_t kFirstUserMacroCode = 41;
inline constexpr int32_t kLastUserMacroCode = 52;

// Codes outside 0..52 (possible only from a hand-edited file) describe as "nothing".
const FunctionCodeInfo& DescribeFunctionCode(int32_t code);

// The FunctionCode a menu row offers (sub-menu row 0 for the six direct rows), or -1.
int32_t FunctionCodeForMenuRow(uint8_t menuRow, uint8_t subMenuRow);

}  // namespace orv
