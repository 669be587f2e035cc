#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orv {

// ORV_GMouse [--simulate] [--trace] [--timestamps] [--dir DIR] [--hidden] [--screenshots DIR]
// (--help and --version are answered before these are parsed)
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

// --help and --version: answered before anything needs a display.
enum class InfoRequest { None, Help, Version };

// Looks at the arguments as given, Qt's own options still among them; the folder after --dir or
// --screenshots is no option, whatever it is called.
InfoRequest FindInfoRequest(const std::vector<std::string>& args);

inline constexpr const char* kAppUsage =
    "usage: ORV_GMouse [--simulate] [--trace] [--timestamps] [--dir DIR] [--hidden] [--screenshots DIR]\n"
    "       ORV_GMouse --help | --version";

inline constexpr const char* kAppOptionsHelp =
    "  --simulate         use a built-in simulated mouse; the system's pointer settings are left alone\n"
    "  --trace            print every report the mouse receives and every pointer setting made\n"
    "  --timestamps       prefix trace lines with the milliseconds since start\n"
    "  --dir DIR          read and write config.ini, the macro files and the skin in DIR\n"
    "  --hidden           start in the notification area, without the window until the icon is used\n"
    "  --screenshots DIR  save a picture of each page in DIR as PNG, print the paths and end\n"
    "  --help             print this and end\n"
    "  --version          print the program's name and version and end";

}  // namespace orv
