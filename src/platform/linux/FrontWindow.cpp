#include "platform/FrontWindow.h"

#include <poll.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string_view>
#include <thread>

#include "platform/PreciseSleep.h"

namespace orv {

namespace {

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// The bytes of a window's property, empty when it has none of that type.
std::string Property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name, xcb_atom_t type) {
    // WM_CLASS holds two short names; 4096 bytes is more than any property read here holds.
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, 1024), nullptr);
    std::string bytes;
    if (reply && reply->type == type) {
        // The value's length is counted in bytes already, whatever the property's format.
        bytes.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                     static_cast<size_t>(xcb_get_property_value_length(reply)));
    }
    std::free(reply);
    return bytes;
}

uint32_t Cardinal(const std::string& bytes) {
    uint32_t value = 0;
    if (bytes.size() >= sizeof value) {
        std::memcpy(&value, bytes.data(), sizeof value);
    }
    return value;
}

// The file name of the process's executable; empty when the process is another user's or gone.
std::string ExecutableName(uint32_t pid) {
    char target[4096];
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
    if (length <= 0) {
        return {};
    }
    std::string_view path(target, static_cast<size_t>(length));
    // An executable replaced since the start (an update) still names the program.
    constexpr std::string_view kDeleted = " (deleted)";
    if (path.ends_with(kDeleted)) {
        path.remove_suffix(kDeleted.size());
    }
    return std::string(path.substr(path.find_last_of('/') + 1));
}

class X11FrontWindowWatch : public FrontWindowWatch {
public:
    X11FrontWindowWatch(xcb_connection_t* connection, xcb_window_t root, Changed changed)
        : c_(connection), root_(root), changed_(std::move(changed)) {
        activeWindow_ = Atom(c_, "_NET_ACTIVE_WINDOW");
        pidAtom_ = Atom(c_, "_NET_WM_PID");
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(c_);
        thread_ = std::thread([this] { Run(); });
    }

    ~X11FrontWindowWatch() override {
        stop_.Raise();
        thread_.join();
        xcb_disconnect(c_);
    }

private:
    void Run() {
        Report();
        pollfd fds[2] = {{xcb_get_file_descriptor(c_), POLLIN, 0}, {static_cast<int>(stop_.Native()), POLLIN, 0}};
        while (!stop_.Raised()) {
            bool activeChanged = false;
            while (xcb_generic_event_t* event = xcb_poll_for_event(c_)) {
                if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY &&
                    reinterpret_cast<xcb_property_notify_event_t*>(event)->atom == activeWindow_) {
                    activeChanged = true;
                }
                std::free(event);
            }
            if (activeChanged) {
                Report();
                // Its replies may have brought events into the connection's queue, which poll
                // does not see.
                continue;
            }
            if (xcb_connection_has_error(c_)) {
                return;
            }
            // Asleep until the server writes or the watch ends: nothing wakes it otherwise.
            if (poll(fds, 2, -1) < 0 && errno != EINTR) {
                return;
            }
        }
    }

    bool OnThisMachine(xcb_window_t window) {
        std::string machine = Property(c_, window, XCB_ATOM_WM_CLIENT_MACHINE, XCB_ATOM_STRING);
        machine = machine.substr(0, machine.find('\0'));
        char host[256] = {};
        return machine.empty() || (gethostname(host, sizeof host - 1) == 0 && machine == host);
    }

    void Report() {
        const xcb_window_t window = Cardinal(Property(c_, root_, activeWindow_, XCB_ATOM_WINDOW));
        if (window == lastWindow_ && reported_) {
            return;
        }
        lastWindow_ = window;
        reported_ = true;
        FrontProgram front;
        if (window != XCB_WINDOW_NONE) {
            const std::string pidBytes = Property(c_, window, pidAtom_, XCB_ATOM_CARDINAL);
            const uint32_t pid = Cardinal(pidBytes);
            if (!pidBytes.empty() && pid == static_cast<uint32_t>(getpid())) {
                return;
            }
            // The number is another machine's for a program shown from there (ssh -X): the
            // process here with that number is some other program.
            if (!pidBytes.empty() && OnThisMachine(window)) {
                front.program = ExecutableName(pid);
            }
            // WM_CLASS: the instance name, a NUL, the class name, a NUL.
            const std::string wmClass = Property(c_, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING);
            const std::string instance = wmClass.substr(0, wmClass.find('\0'));
            if (instance.size() < wmClass.size()) {
                const std::string rest = wmClass.substr(instance.size() + 1);
                front.windowClass = rest.substr(0, rest.find('\0'));
            }
            if (front.program.empty()) {
                front.program = instance;
            }
        }
        changed_(std::move(front));
    }

    xcb_connection_t* c_;
    xcb_window_t root_;
    Changed changed_;
    xcb_atom_t activeWindow_ = XCB_ATOM_NONE;
    xcb_atom_t pidAtom_ = XCB_ATOM_NONE;
    xcb_window_t lastWindow_ = XCB_WINDOW_NONE;
    bool reported_ = false;
    SleepInterrupt stop_;
    std::thread thread_;
};

bool WaylandSession() {
    const char* type = std::getenv("XDG_SESSION_TYPE");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (type && std::string_view(type) == "wayland") || (wayland && *wayland);
}

}  // namespace

bool ProgramNamesIgnoreCase() { return false; }

FrontWatchUnavailable FrontWatchSupport() {
    if (WaylandSession()) {
        return FrontWatchUnavailable::Wayland;
    }
    const char* display = std::getenv("DISPLAY");
    return display && *display ? FrontWatchUnavailable::None : FrontWatchUnavailable::NoDisplay;
}

// Another user's processes do not show their executable, so only this user's are listed.
std::vector<std::string> RunningPrograms() {
    std::set<std::string> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ignored)) {
        const std::string pid = entry.path().filename().string();
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        // A program run from memory (memfd) has no file a rule could name.
        if (std::string name = ExecutableName(static_cast<uint32_t>(std::stoul(pid)));
            !name.empty() && !name.starts_with("memfd:")) {
            names.insert(std::move(name));
        }
    }
    return {names.begin(), names.end()};
}

std::unique_ptr<FrontWindowWatch> WatchFrontWindow(FrontWindowWatch::Changed changed, FrontWatchUnavailable& why) {
    // Under Wayland the X server (Xwayland) sees only the X programs, so what it calls the active
    // window says nothing of the native ones in front.
    if (FrontWatchSupport() == FrontWatchUnavailable::Wayland) {
        why = FrontWatchUnavailable::Wayland;
        return nullptr;
    }
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        why = FrontWatchUnavailable::NoDisplay;
        return nullptr;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    if (screens.rem == 0) {
        xcb_disconnect(connection);
        why = FrontWatchUnavailable::NoDisplay;
        return nullptr;
    }
    why = FrontWatchUnavailable::None;
    return std::make_unique<X11FrontWindowWatch>(connection, screens.data->root, std::move(changed));
}

}  // namespace orv
