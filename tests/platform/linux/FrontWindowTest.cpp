// The X11 watch on the front window against an X server of the test's own (Xvfb), the test
// playing the window manager: it sets the root window's _NET_ACTIVE_WINDOW itself.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

#include "platform/FrontWindow.h"
#include "platform/linux/ScopedVariable.h"

extern char** environ;

namespace orv {
namespace {

pid_t Spawn(std::vector<std::string> args, posix_spawn_file_actions_t* actions = nullptr) {
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    return posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

void End(pid_t pid) {
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}

// Xvfb on a display number it picks itself, told back through a pipe.
class OwnXServer {
public:
    OwnXServer() {
        int fds[2];
        if (pipe(fds) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        pid_ = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-nolisten", "tcp", "-screen", "0", "64x64x24"},
                     &actions);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        std::string number;
        char c = 0;
        pollfd ready{fds[0], POLLIN, 0};
        // A generous bound on a loaded machine; a server that never answers fails the test.
        while (pid_ > 0 && poll(&ready, 1, 60000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n') {
            number += c;
        }
        close(fds[0]);
        if (!number.empty()) {
            display_ = ":" + number;
        }
    }
    ~OwnXServer() { End(pid_); }

    const std::string& Display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

// What the watch told, in order, taken as the caller's thread would.
class Told {
public:
    void Add(FrontProgram front) {
        {
            std::lock_guard lock(mutex_);
            fronts_.push_back(std::move(front));
        }
        changed_.notify_all();
    }
    std::optional<FrontProgram> Next() {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_for(lock, std::chrono::seconds(60), [&] { return !fronts_.empty(); })) {
            return std::nullopt;
        }
        FrontProgram front = fronts_.front();
        fronts_.pop_front();
        return front;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<FrontProgram> fronts_;
};

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

TEST(FrontWindowWatch, NamesTheProgramOfTheActiveWindowOnX11) {
    OwnXServer server;
    if (server.Display().empty()) {
        GTEST_SKIP() << "no Xvfb to watch";
    }
    test::ScopedVariable display("DISPLAY", server.Display().c_str());
    test::ScopedVariable wayland("WAYLAND_DISPLAY", nullptr);
    test::ScopedVariable session("XDG_SESSION_TYPE", "x11");

    xcb_connection_t* c = xcb_connect(server.Display().c_str(), nullptr);
    ASSERT_FALSE(xcb_connection_has_error(c));
    const xcb_screen_t& screen = *xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_atom_t active = Atom(c, "_NET_ACTIVE_WINDOW");
    const xcb_atom_t pidAtom = Atom(c, "_NET_WM_PID");
    // A program of this user, as the process a window names.
    const pid_t sleeper = Spawn({"sleep", "600"});
    ASSERT_GT(sleeper, 0);

    auto window = [&](const char* wmClass, size_t classBytes, std::optional<uint32_t> pid, const char* machine) {
        const xcb_window_t w = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen.root, 0, 0, 8, 8, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          screen.root_visual, 0, nullptr);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                            static_cast<uint32_t>(classBytes), wmClass);
        if (pid) {
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, pidAtom, XCB_ATOM_CARDINAL, 32, 1, &*pid);
        }
        if (machine) {
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_CLIENT_MACHINE, XCB_ATOM_STRING, 8,
                                static_cast<uint32_t>(std::strlen(machine)), machine);
        }
        return w;
    };
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const auto sleeperPid = static_cast<uint32_t>(sleeper);
    const auto ownPid = static_cast<uint32_t>(getpid());
    const xcb_window_t named = window("term\0Term\0", 10, sleeperPid, host);
    const xcb_window_t unnamed = window("xmessage\0Xmessage\0", 18, std::nullopt, nullptr);
    const xcb_window_t own = window("mine\0Mine\0", 10, ownPid, host);
    const xcb_window_t remote = window("remote\0Remote\0", 14, sleeperPid, "another-machine");
    auto activate = [&](xcb_window_t w) {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, screen.root, active, XCB_ATOM_WINDOW, 32, 1, &w);
        xcb_flush(c);
    };
    activate(named);

    Told told;
    FrontWatchUnavailable why = FrontWatchUnavailable::NoDisplay;
    auto watch = WatchFrontWindow([&](FrontProgram front) { told.Add(std::move(front)); }, why);
    ASSERT_NE(watch, nullptr);
    EXPECT_EQ(why, FrontWatchUnavailable::None);
    EXPECT_EQ(told.Next(), (FrontProgram{"sleep", "Term"})) << "the window in front at the start";

    // This process's own window is no change; the next one is told as usual.
    activate(own);
    activate(unnamed);
    EXPECT_EQ(told.Next(), (FrontProgram{"xmessage", "Xmessage"})) << "no process named: WM_CLASS";
    activate(remote);
    EXPECT_EQ(told.Next(), (FrontProgram{"remote", "Remote"})) << "another machine's process number";
    activate(XCB_WINDOW_NONE);
    EXPECT_EQ(told.Next(), (FrontProgram{}));

    watch.reset();
    End(sleeper);
    xcb_disconnect(c);
}

TEST(FrontWindowWatch, NoneOnWayland) {
    test::ScopedVariable session("XDG_SESSION_TYPE", "wayland");
    FrontWatchUnavailable why = FrontWatchUnavailable::None;
    EXPECT_EQ(WatchFrontWindow([](FrontProgram) {}, why), nullptr);
    EXPECT_EQ(why, FrontWatchUnavailable::Wayland);
    EXPECT_EQ(FrontWatchSupport(), FrontWatchUnavailable::Wayland);
}

}  // namespace
}  // namespace orv
