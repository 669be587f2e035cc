// Macro timing on the simulated mouse with the real clock and precise sleeper:
//  (a) a 200-event macro with delays 0..100 ms: error of each gap between reports against the
//      pause it requires, and the drift of the whole macro;
//  (b) latency from an input report to the first macro report;
//  (c) wake-ups per second of the listener and playback threads while idle.
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

#include <unistd.h>

#include "common/Messages.h"
#include "common/Trace.h"
#include "device/SimulatedMouse.h"
#include "session/Session.h"

namespace {

using namespace std::chrono_literals;
using Ms = std::chrono::duration<double, std::milli>;

class NoMessages : public orv::MessageSink {
public:
    void ShowMessage(std::string_view, std::string_view) override {}
};

struct Stats {
    double mean, p50, p99, max;
};

Stats Summarise(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const auto at = [&](double q) { return v[std::min(v.size() - 1, static_cast<size_t>(q * (v.size() - 1) + 0.5))]; };
    return {std::accumulate(v.begin(), v.end(), 0.0) / v.size(), at(0.5), at(0.99), v.back()};
}

std::map<int, long> VoluntarySwitches() {
    std::map<int, long> out;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream status(task.path() / "status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0) {
                out[std::stoi(task.path().filename().string())] = std::stol(line.substr(24));
            }
        }
    }
    return out;
}

struct Rig {
    orv::Trace trace{stdout, false, false};
    NoMessages messages;
    std::filesystem::path dir = std::filesystem::temp_directory_path();
    orv::Session session{{dir, dir / "orv_bench_config.ini", dir / "skins"},
                         true,
                         trace,
                         messages,
                         [](std::function<void()> work) { work(); }};
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
};

}  // namespace

int main() {
    std::printf("%-44s %10s %10s %10s %10s\n", "measurement (ms unless stated)", "mean", "p50", "p99", "max");

    // (a)
    double drift = 0;
    {
        Rig rig;
        orv::MacroSlot& slot = rig.store.User(0);
        std::mt19937 random(7);
        std::vector<double> required;
        constexpr int kEvents = 200;
        for (int k = 0; k < kEvents; ++k) {
            const auto delay = static_cast<uint16_t>(random() % 101);
            slot.SetEvent(static_cast<size_t>(k), 0x04, static_cast<uint8_t>(k % 2 == 0 ? 1 : 2), delay);
            required.push_back(std::max(15.0, static_cast<double>(delay)));
        }
        slot.SetEventCount(kEvents);
        required.back() += 10;  // the pause before the first release report
        required.push_back(10);  // and before the second
        rig.mouse.ClearReports();
        rig.Press();
        rig.mouse.WaitForReports(kEvents + 2, 120s);
        rig.WaitIdle();
        const auto received = rig.mouse.Reports();
        std::vector<double> errors;
        double requiredTotal = 0;
        for (size_t i = 1; i < received.size() && i - 1 < required.size(); ++i) {
            const double gap = Ms(received[i].time - received[i - 1].time).count();
            errors.push_back(gap - required[i - 1]);
            requiredTotal += required[i - 1];
        }
        drift = Ms(received.back().time - received.front().time).count() - requiredTotal;
        const Stats s = Summarise(errors);
        std::printf("%-44s %10.3f %10.3f %10.3f %10.3f\n", "(a) gap error, 200 events, delays 0..100", s.mean,
                    s.p50, s.p99, s.max);
        std::printf("%-44s %10.3f  (over %.0f ms, min gap error %.3f)\n", "(a) total drift at the end", drift,
                    requiredTotal, *std::min_element(errors.begin(), errors.end()));
    }

    // (b)
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
        const Stats s = Summarise(latencies);
        std::printf("%-44s %10.3f %10.3f %10.3f %10.3f\n", "(b) input report -> first macro report", s.mean, s.p50,
                    s.p99, s.max);
    }

    // (c)
    {
        Rig rig;
        std::this_thread::sleep_for(200ms);
        const auto before = VoluntarySwitches();
        std::this_thread::sleep_for(10s);
        const auto after = VoluntarySwitches();
        const int self = static_cast<int>(getpid());
        for (const auto& [tid, count] : after) {
            if (tid == self || !before.count(tid)) {
                continue;
            }
            std::printf("%-44s %10.2f  (thread %d)\n", "(c) idle wake-ups per second", (count - before.at(tid)) / 10.0, tid);
        }
    }
    return 0;
}
