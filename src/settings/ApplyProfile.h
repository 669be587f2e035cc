#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>

#include "common/Relaxed.h"
#include "common/WriteResult.h"
#include "settings/ProfileSettings.h"

namespace orv {

namespace ini {
class FileUpdate;
}
class FeatureReport;
class PointerSettings;

// What the last apply told the mouse. One instance for the process: the playback thread reads
// the two flags, the window shows the DPI code and previews the lighting.
struct AppliedState {
    // The mouse changes its DPI level itself on this button and reports the new level.
    std::array<Relaxed<int32_t>, 6> DpiReportFlag{};
    // The mouse steps its report rate itself on this button.
    std::array<Relaxed<int32_t>, 6> RateCycleFlag{};
    std::array<Relaxed<uint8_t>, 4> appliedDpiCode{};
    Relaxed<uint8_t> appliedLedStatus;
};

// Where an apply goes: the mouse, the system's pointer settings, config.ini, and the window.
struct ApplyTarget {
    FeatureReport& reports;
    PointerSettings& pointer;
    std::filesystem::path configPath;
    std::function<void()> repaint;  // may be empty
};

struct ApplyResult {
    int reportsSent = 0;
    int reportsFailed = 0;
    WriteResult saved = WriteResult::Kind::Written;  // how the one write of config.ini went
};

// Makes the mouse and the system match the working settings: saves them (below), sends the
// thirteen configuration reports, and sets the pointer speed and wheel lines. Every call is a
// full re-send, and the reports go out even when config.ini cannot be written. Values a
// hand-edited file put out of range are sent as the nearest valid one (a DPI step above 11 as
// step 11, a lighting mode above 3 as 3, a function code without a device function as 0).
ApplyResult ApplyProfile(const ProfileSettings& settings, int32_t currentProfile, AppliedState& applied,
                         const ApplyTarget& target);
// The same, saving through an update of config.ini the caller opened, and read from, before.
ApplyResult ApplyProfile(const ProfileSettings& settings, int32_t currentProfile, AppliedState& applied,
                         const ApplyTarget& target, ini::FileUpdate& config);

// What an apply saves, as writes of one update of config.ini, so that they land together:
// currentProfile as "CurConfig", and the settings as profile 6 (the snapshot of what the mouse
// was sent) and as currentProfile.
void WriteAppliedProfile(ini::FileUpdate& config, const ProfileSettings& settings, int32_t currentProfile);

// The apply's reports and system settings without the save; saved is left Written.
ApplyResult SendProfile(const ProfileSettings& settings, AppliedState& applied, const ApplyTarget& target);

// The end of the program as the mouse and the system see it: the goodbye report, then the
// pointer speed back to 10 (only when the system answers the query). Returns the send's result.
bool SayGoodbye(FeatureReport& reports, PointerSettings& pointer);

}  // namespace orv
