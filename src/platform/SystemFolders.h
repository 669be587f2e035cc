#pragma once
#include <filesystem>

namespace orv {

// Where the system keeps a user's own settings: Linux $XDG_CONFIG_HOME, else ~/.config;
// Windows the roaming application data folder (%APPDATA%). Empty when the system names none.
std::filesystem::path UserConfigHome();

// The name of this program's folder inside UserConfigHome(): "orv-gmouse" on Linux,
// "ORV_GMouse" on Windows, as each system's users expect to find it.
std::filesystem::path UserFolderName();

// Where an installed copy's shipped files lie, given the executable's folder: on Linux
// share/orv-gmouse under the install prefix (found from bin/, so a moved or staged prefix
// still finds its own); on Windows the executable's folder itself.
std::filesystem::path InstalledDataFolder(const std::filesystem::path& executableFolder);

// Whether this process may create files in the folder.
bool IsWritableFolder(const std::filesystem::path& folder);

}  // namespace orv
