#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orv {

// The program whose window is in front, as rules name it.
struct FrontProgram {
    // The executable's file name ("game.exe", "steam"); on X11 the instance name of WM_CLASS for
    // a window that does not say its process. Empty when no window is in front.
    std::string program;
    // Linux: the class name of WM_CLASS; Windows: the window's class name. May be empty.
    std::string windowClass;

    bool operator==(const FrontProgram&) const = default;
};

// Whether program and window class names are compared without regard to case, as the system
// compares file names: yes on Windows, no on Linux.
bool ProgramNamesIgnoreCase();

// Why no watch runs.
enum class FrontWatchUnavailable {
    None,
    // Wayland gives no program a general way to learn which program is in front.
    Wayland,
    // No display to watch, or the system refused the watch.
    NoDisplay,
};

// Tells of each change of the window in front, without polling: the system wakes the watch
// when the front window changes, and at no other time. Windows of this process are not told,
// so opening the utility's own window is no change of program.
class FrontWindowWatch {
public:
    // Called on the watch's own thread, once at the start with the window then in front and
    // then at each change; the caller hands it on to its own thread.
    using Changed = std::function<void(FrontProgram front)>;

    virtual ~FrontWindowWatch() = default;
};

// nullptr, with why set, where this system and session offer no watch.
std::unique_ptr<FrontWindowWatch> WatchFrontWindow(FrontWindowWatch::Changed changed, FrontWatchUnavailable& why);
// Why WatchFrontWindow would give no watch here, as far as can be told without starting one.
FrontWatchUnavailable FrontWatchSupport();

// The file names of the programs running now (on Linux only this user's), sorted, each once.
std::vector<std::string> RunningPrograms();

}  // namespace orv
