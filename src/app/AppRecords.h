#pragma once
#include <atomic>
#include <filesystem>

#include "common/Language.h"

#include "macro/MacroStore.h"
#include "settings/ProfileSettings.h"
#include "skin/SkinLayout.h"

namespace orv {

// The process-wide records the window's life cycle fills. Created empty with the application
// object and kept until the process ends.
struct AppRecords {
    std::filesystem::path AppDirectory;
    std::filesystem::path ConfigPath;
    std::filesystem::path SkinDirectory;
    int32_t currentProfile = 0;
    Language language;
    ProfileSettings profileSettings;
    SkinLayout skinLayout;
    MacroStore macroStore;
    std::atomic<bool> DevicePresent{false};
    int ClickedLine = 0;
};

}  // namespace orv
