#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

#include "common/Language.h"
#include "common/Relaxed.h"
#include "macro/MacroStore.h"
#include "settings/ApplyProfile.h"
#include "settings/ProfileSettings.h"

namespace orv {

class Session;
struct SkinLayout;

// The records the pages draw and change; the pages keep references. The working settings, the
// current profile's cell, the language, the macros and what the last apply sent are the
// session's: a profile the pages choose is at once the one playback saves the mouse's own
// changes into. The skin is the window's.
struct PageModel {
    ProfileSettings& settings;
    Relaxed<int32_t>& currentProfile;
    Language& language;
    const MacroStore& macros;
    const AppliedState& applied;
    const SkinLayout& skin;
    std::filesystem::path skinDirectory;

    // The session's records, with the window's skin.
    static PageModel Of(Session& session, const SkinLayout& skin);

    // Name of user macro slot 0..11 (UTF-8); empty for any other slot.
    std::string UserMacroName(int slot) const;
    // User macros in use: the rows of the function menu's macro page.
    int UserMacroCount() const { return macros.macroCount; }
};

}  // namespace orv
