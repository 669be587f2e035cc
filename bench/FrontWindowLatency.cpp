// Profiles that follow the program in front, on the simulated mouse, with the system's watch on
// the front window. Needs an X display without a window manager (scripts/bench runs it under
// Xvfb): the program plays the window manager itself and sets the root window's
// _NET_ACTIVE_WINDOW to one of two windows, each the window of a program with a rule. Prints one
// row per measurement, tab-separated: what, value, unit, goal.
//  - latency from the change of the front window to the first feature report of the profile;
//  - processor time of the process per switch (watch, rules, the apply and its save);
//  - wake-ups per second of every thread but the main one while nothing changes.
#include <xcb/xcb.h>

#include <chrono>
#include <ctime>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "BenchRows.h"
#include "common/Messages.h"
#include "common/Trace.h"
#include "device/SimulatedMouse.h"
#include "platform/FrontWindow.h"
#include "session/Session.h"
#include "settings/ProgramFollower.h"

namespace {

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

using namespace std::chrono_literals;
using Ms = std::chrono::duration<double, std::milli>;

// What the watch's thread hands to the caller's, as the window's event loop takes it.
class Posted {
public:
    void Push(orv::FrontProgram front) {
        {
            std::lock_guard lock(mutex_);
            queue_.push_back(std::move(front));
        }
        ready_.notify_one();
    }
    std::optional<orv::FrontProgram> Pop(std::chrono::milliseconds wait) {
        std::unique_lock lock(mutex_);
        if (!ready_.wait_for(lock, wait, [&] { return !queue_.empty(); })) {
            return std::nullopt;
        }
        orv::FrontProgram front = std::move(queue_.front());
        queue_.pop_front();
        return front;
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<orv::FrontProgram> queue_;
};

// A window that says no process, so the watch names it by its WM_CLASS instance.
xcb_window_t ProgramWindow(xcb_connection_t* c, const xcb_screen_t& screen, std::string_view instance) {
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen.root, 0, 0, 10, 10, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen.root_visual, 0, nullptr);
    const std::string wmClass = std::string(instance) + '\0' + "Bench" + '\0';
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                        static_cast<uint32_t>(wmClass.size()), wmClass.data());
    return window;
}

}  // namespace

int main() {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const xcb_screen_t& screen = *xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_intern_atom_reply_t* activeReply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 18, "_NET_ACTIVE_WINDOW"), nullptr);
    const xcb_atom_t active = activeReply->atom;
    std::free(activeReply);
    const xcb_window_t windows[2] = {ProgramWindow(c, screen, "benchone"), ProgramWindow(c, screen, "benchtwo")};
    auto bringToFront = [&](xcb_window_t window) {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, screen.root, active, XCB_ATOM_WINDOW, 32, 1, &window);
        xcb_flush(c);
    };
    bringToFront(XCB_WINDOW_NONE);

    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("orv_bench_front_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(std::filesystem::path(ORV_DATA_DIR) / "config.ini", dir / "config.ini");
    orv::Trace trace{stdout, false, false};
    NoMessages messages;
    orv::Session session{
        {dir, dir / "config.ini", dir / "skins"}, true, trace, messages, [](std::function<void()> work) { work(); }};
    session.LoadConfiguration();
    session.FindDevice();
    session.StartThreads();
    orv::SimulatedMouse& mouse = *session.Simulated();

    int32_t inUse = session.CurrentProfile();
    std::chrono::steady_clock::time_point switchStarted;
    orv::ProgramFollower follower(
        orv::SystemClock(), [&] { return inUse; },
        [&](int32_t n) {
            switchStarted = std::chrono::steady_clock::now();
            session.ChooseProfile(n);
            session.ApplyProfile();
            inUse = n;
        },
        orv::ProgramNamesIgnoreCase());
    orv::ProgramRules rules;
    rules.enabled = true;
    rules.rules = {{"benchone", "", 2}, {"benchtwo", "", 3}};
    follower.SetRules(rules);

    Posted posted;
    orv::FrontWatchUnavailable why{};
    const auto watch = orv::WatchFrontWindow([&](orv::FrontProgram front) { posted.Push(std::move(front)); }, why);
    if (!watch) {
        std::fprintf(stderr, "no watch on the front window\n");
        return 1;
    }
    if (auto first = posted.Pop(5s)) {
        follower.FrontChanged(*first);
    }

    constexpr int kSwitches = 30;
    std::vector<double> latencies;
    std::vector<double> toSwitch;  // the part before the apply: watch, hand-over, rules
    double switchCpu = 0;
    const double cpuBefore = ProcessCpuSeconds();
    for (int i = 0; i < kSwitches; ++i) {
        // Apart by more than the coalescing time: each change is acted on at once.
        std::this_thread::sleep_for(orv::ProgramFollower::kProgramCoalescing + 50ms);
        mouse.ClearReports();
        const auto changed = std::chrono::steady_clock::now();
        bringToFront(windows[i % 2]);
        const auto front = posted.Pop(5s);
        if (!front) {
            std::fprintf(stderr, "the watch did not tell of a change\n");
            return 1;
        }
        const double threadBefore = ThreadCpuSeconds();
        follower.FrontChanged(*front);
        switchCpu += ThreadCpuSeconds() - threadBefore;
        const auto reports = mouse.Reports();
        if (reports.size() != 13) {
            std::fprintf(stderr, "%zu reports for a switch\n", reports.size());
            return 1;
        }
        latencies.push_back(Ms(reports.front().time - changed).count());
        toSwitch.push_back(Ms(switchStarted - changed).count());
    }
    const double cpu = ProcessCpuSeconds() - cpuBefore;
    Row("front window change -> first report p50", Quantile(latencies, 0.5), "ms", "<= 50");
    Row("front window change -> first report max", *std::max_element(latencies.begin(), latencies.end()), "ms",
        "<= 50");
    Row("front window change -> switch begins p50", Quantile(toSwitch, 0.5), "ms", "");
    Row("front window change -> switch begins max", *std::max_element(toSwitch.begin(), toSwitch.end()), "ms", "");
    Row("processor time per program switch, whole process", cpu / kSwitches * 1000, "ms", "");
    Row("processor time per program switch, rules + load + apply + save", switchCpu / kSwitches * 1000, "ms",
        "a few tenths");
    std::this_thread::sleep_for(200ms);
    Row("idle wake-ups, watch + listener + playback", IdleWakeUpsPerSecond(10), "1/s", "0");
    session.StopThreads();
    std::filesystem::remove_all(dir);
    xcb_disconnect(c);
    return 0;
}
