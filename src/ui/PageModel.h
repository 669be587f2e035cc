#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "common/Language.h"
#include "common/Relaxed.h"
#include "settings/ProfileSettings.h"

namespace orv {

struct SkinLayout;

// The records the pages read and change; the pages keep references. The working settings, the
// current profile's cell and the language are the session's: a profile the pages choose is at
// once the one playback saves the mouse's own changes into. The skin is the window's. Records
// of other subsystems that the pages only read are reached through small accessors
// so the pages do not depend on how those records are laid out.
struct PageModel {
    ProfileSettings& settings;
    Relaxed<int32_t>& currentProfile;
    Language& language;
    const SkinLayout& skin;
    std::filesystem::path configPath;
    std::filesystem::path skinDirectory;

    // Name of user macro slot 0..11 (UTF-8); empty when unknown.
    std::function<std::string(int slot)> userMacroName{};
    // User macros in use, 0..12: the rows of the function menu's macro page.
    std::function<int()> userMacroCount{};
    // The repeatOn byte of the selected user macro.
    std::function<uint8_t()> selectedMacroRepeatOn{};
    // The DPI code last sent for level 0..3.
    std::function<uint8_t(int level)> appliedDpiCode{};

    // The macro editor's state the advanced page shows: whether a recording runs (the record
    // control's pressed look and caption), and the press and release lines of the event list.
    std::function<bool()> recording{};
    std::function<int32_t()> downLines{};
    std::function<int32_t()> upLines{};

    // Lighting preview: 0 blue, 1 pink, 2 red, 3 purple; dark takes precedence.
    Relaxed<int32_t> PreviewColor{0};
    Relaxed<bool> PreviewDark{false};
    Relaxed<bool> PreviewThreadRunning{false};
};

}  // namespace orv
