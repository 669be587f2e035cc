// Macro timing on the simulated mouse with the real clock and the session's sleeper. Prints one
// row per measurement, tab-separated: what, value, unit, goal.
//  - gaps of a 120-event macro with delays 0..60 ms (ten runs): lateness of each gap between
//    reports against the pause it requires (mean, p50, p99, max, min), and of the whole macro;
//  - drift of a 1,000-event macro of 15 ms pauses;
//  - processor time of the process per second of playback;
//  - latency from an input report to the first macro report;
//  - wake-ups per second of the listener and playback threads while idle.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "BenchRows.h"
#include "common/Messages.h"
#include "common/Trace.h"
#include "device/SimulatedMouse.h"
#include "platform/ThreadPriority.h"
#include "platform/TimerSlack.h"
#include "session/Session.h"

namespace {

using namespace std::chrono_literals;
using Ms = std::chrono::duration<double, std::milli>;

// How late a thread that does nothing but sleep, set up as playback's thread is, wakes over the
// pauses a macro of these delays requires, each counted from the last wake-up: the share of the
// machine (timer, scheduler, a virtual machine's host) that no playback can avoid.
double BareSleepLateness(const std::vector<uint16_t>& delays) {
    double late = 0;
    std::thread sleeper([&] {
        orv::UseFinestTimerSlack();
        orv::RaiseCurrentThreadPriority();
        auto last = std::chrono::steady_clock::now();
        for (uint16_t delay : delays) {
            const auto deadline = last + std::chrono::milliseconds(std::max<uint16_t>(delay, 15));
            std::this_thread::sleep_until(deadline);
            last = std::chrono::steady_clock::now();
            late += Ms(last - deadline).count();
        }
    });
    sleeper.join();
    return late;
}

struct Rig {
    orv::Trace trace{stdout, false, false};
    NoMessages messages;
    std::filesystem::path dir = std::filesystem::temp_directory_path();
    orv::Session session{
        {dir, dir / "orv_bench_config.ini", dir / "skins"}, true, trace, messages, [](std::function<void()> work) {
            work();
        }};
    orv::SimulatedMouse& mouse = *session.Simulated();
    orv::MacroStore& store = session.Macros();

    Rig() {
        session.FindDevice();
        session.SayGoodbye();
        session.Settings().buttonFunction[0] = orv::kFirstUserMacroCode;
        session.CurrentProfile() = 1;
        session.StartThreads();
    }
    void Press() {
        const uint8_t report[] = {6, 0xF1, 0};
        session.SimulateInput(report);
    }
    void WaitIdle() {
        do {
            std::this_thread::sleep_for(5ms);
        } while (!session.PlaybackIdle());
    }

    // Plays user macro 0 with these delays once; the lateness of each gap against the pause it
    // requires, and of the whole macro.
    struct Played {
        std::vector<double> gapLateness;
        double totalLateness = 0;
        double seconds = 0;
    };
    Played Play(const std::vector<uint16_t>& delays) {
        orv::MacroSlot& slot = store.User(0);
        std::vector<double> required;
        for (size_t k = 0; k < delays.size(); ++k) {
            slot.SetEvent(k, 0x04, static_cast<uint8_t>(k % 2 == 0 ? 1 : 2), delays[k]);
            required.push_back(std::max(15.0, static_cast<double>(delays[k])));
        }
        slot.SetEventCount(static_cast<uint8_t>(delays.size()));
        required.back() += 10;   // the pause before the first release report
        required.push_back(10);  // and before the second
        mouse.ClearReports();
        Press();
        mouse.WaitForReports(delays.size() + 2, 600s);
        WaitIdle();
        const auto received = mouse.Reports();
        Played played;
        double requiredTotal = 0;
        for (size_t i = 1; i < received.size() && i - 1 < required.size(); ++i) {
            played.gapLateness.push_back(Ms(received[i].time - received[i - 1].time).count() - required[i - 1]);
            requiredTotal += required[i - 1];
        }
        const double total = Ms(received.back().time - received.front().time).count();
        played.totalLateness = total - requiredTotal;
        played.seconds = total / 1000;
        return played;
    }

    // A macro longer than a slot holds plays as passes of one slot.
    Played PlayPasses(uint16_t delay, int events) {
        orv::MacroSlot& slot = store.User(0);
        constexpr int kPerPass = 250;
        for (int k = 0; k < kPerPass; ++k) {
            slot.SetEvent(static_cast<size_t>(k), 0x04, static_cast<uint8_t>(k % 2 == 0 ? 1 : 2), delay);
        }
        slot.SetEventCount(kPerPass);
        slot.SetRepeatOn(1);
        slot.SetRepeatCount(static_cast<uint16_t>(events / kPerPass));
        const int reports = (events / kPerPass) * (kPerPass + 2);
        mouse.ClearReports();
        Press();
        mouse.WaitForReports(static_cast<size_t>(reports), 600s);
        WaitIdle();
        const auto received = mouse.Reports();
        Played played;
        double requiredTotal = 0;
        for (size_t i = 1; i < received.size(); ++i) {
            const size_t inPass = (i - 1) % (kPerPass + 2);
            const double required = inPass < kPerPass - 1 ? delay : inPass == kPerPass - 1 ? delay + 10.0 : 10.0;
            // Between passes: the release's 10 ms and the first event of the next pass at once.
            const double pause = inPass == kPerPass + 1 ? 0.0 : required;
            played.gapLateness.push_back(Ms(received[i].time - received[i - 1].time).count() - pause);
            requiredTotal += pause;
        }
        played.totalLateness = Ms(received.back().time - received.front().time).count() - requiredTotal;
        slot.SetRepeatOn(0);
        return played;
    }
};

}  // namespace

int main() {
    {
        Rig rig;
        std::mt19937 random(7);
        std::vector<double> gaps;
        std::vector<double> totals;
        std::vector<double> bareTotals;
        double playedSeconds = 0;
        double cpu = 0;
        // Several macros, as one stall of the machine (a few milliseconds on a shared virtual
        // machine now and then) lands in some of them and not in others; each next to a bare
        // sleep loop over the same pauses, which shows what the machine itself adds meanwhile.
        for (int run = 0; run < 10; ++run) {
            std::vector<uint16_t> delays;
            for (int k = 0; k < 120; ++k) {
                delays.push_back(static_cast<uint16_t>(random() % 61));
            }
            const double cpuBefore = ProcessCpuSeconds();
            const Rig::Played played = rig.Play(delays);
            cpu += ProcessCpuSeconds() - cpuBefore;
            gaps.insert(gaps.end(), played.gapLateness.begin(), played.gapLateness.end());
            totals.push_back(played.totalLateness);
            playedSeconds += played.seconds;
            bareTotals.push_back(BareSleepLateness(delays));
        }
        Row("macro gap lateness mean (120 events, 0-60 ms)",
            std::accumulate(gaps.begin(), gaps.end(), 0.0) / gaps.size(), "ms", "");
        Row("macro gap lateness p50", Quantile(gaps, 0.5), "ms", "<= 0.05");
        Row("macro gap lateness p99", Quantile(gaps, 0.99), "ms", "<= 0.5");
        Row("macro gap lateness max", *std::max_element(gaps.begin(), gaps.end()), "ms", "");
        Row("macro gap lateness min (negative = early)", *std::min_element(gaps.begin(), gaps.end()), "ms", ">= 0");
        Row("whole 120-event macro late, median of 10", Quantile(totals, 0.5), "ms", "<= 5");
        Row("whole 120-event macro late, best of 10", *std::min_element(totals.begin(), totals.end()), "ms", "");
        Row("whole 120-event macro late, worst of 10", *std::max_element(totals.begin(), totals.end()), "ms", "");
        Row("bare sleep loop late over the same pauses, median of 10", Quantile(bareTotals, 0.5), "ms", "");
        Row("bare sleep loop late over the same pauses, worst of 10",
            *std::max_element(bareTotals.begin(), bareTotals.end()), "ms", "");
        Row("CPU per second of playback", cpu / playedSeconds * 1000, "ms/s", "");
    }
    {
        Rig rig;
        const Rig::Played played = rig.PlayPasses(15, 1000);
        Row("drift over 1,000 events of 15 ms", played.totalLateness, "ms", "");
    }
    {
        Rig rig;
        orv::MacroSlot& slot = rig.store.User(0);
        slot.SetEvent(0, 0x04, 1, 0);
        slot.SetEventCount(1);
        std::vector<double> latencies;
        for (int trial = 0; trial < 100; ++trial) {
            rig.mouse.ClearReports();
            const auto sent = std::chrono::steady_clock::now();
            rig.Press();
            rig.mouse.WaitForReports(1, 10s);
            latencies.push_back(Ms(rig.mouse.Reports().front().time - sent).count());
            rig.mouse.WaitForReports(3, 10s);
            rig.WaitIdle();
        }
        Row("input report -> first macro report p50", Quantile(latencies, 0.5), "ms", "");
        Row("input report -> first macro report max", *std::max_element(latencies.begin(), latencies.end()), "ms", "");
    }
    {
        Rig rig;
        std::this_thread::sleep_for(200ms);
        Row("idle wake-ups of listener + playback", IdleWakeUpsPerSecond(10), "1/s", "~0");
    }
    return 0;
}
