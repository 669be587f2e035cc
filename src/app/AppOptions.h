#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orv {

// ORV_GMouse [--simulate] [--trace] [--timestamps] [--dir DIR] [--hidden] [--screenshots DIR]
struct AppOptions {
    bool simulate = false;
    bool trace = false;
    bool timestamps = false;
    std::optional<std::filesystem::path> dir;
    // Start in the notification area with no window until the icon is used, as the session's
    // autostart does; without the mouse, end quietly instead of prompting at every login.
    bool hidden = false;
    // Show each page, save it as a PNG in this folder, print the paths and end.
    std::optional<std::filesystem::path> screenshots;
};

struct ParsedAppOptions {
    std::optional<AppOptions> options;
    std::string error;  // set when options is empty
};

// Arguments after the program name. Qt's own options (-platform …) are removed before.
ParsedAppOptions ParseAppOptions(const std::vector<std::string>& args);

inline constexpr const char* kAppUsage =
    "usage: ORV_GMouse [--simulate] [--trace] [--timestamps] [--dir DIR] [--hidden] [--screenshots DIR]";

}  // namespace orv
