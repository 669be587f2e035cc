#pragma once
// What the timing programs share: their rows (what, value, unit, goal, tab-separated), the
// process's own counters they measure with, and a session's message sink that shows nothing. Linux only: the counters
// come from /proc.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "common/Messages.h"

namespace {

class NoMessages : public orv::MessageSink {
public:
    void ShowMessage(std::string_view, std::string_view) override {}
};

inline void Row(const char* what, double value, const char* unit, const char* goal) {
    std::printf("%s\t%.3f\t%s\t%s\n", what, value, unit, goal);
    std::fflush(stdout);
}

inline double Quantile(std::vector<double> v, double q) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(q * static_cast<double>(v.size() - 1) + 0.5))];
}

inline double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

inline std::map<int, long> VoluntarySwitches() {
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

// How often the process's threads other than the calling one woke up, per second, while the
// calling one sleeps for that many seconds.
inline double IdleWakeUpsPerSecond(double seconds) {
    const auto before = VoluntarySwitches();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const auto after = VoluntarySwitches();
    const int self = static_cast<int>(getpid());
    long woken = 0;
    for (const auto& [tid, count] : after) {
        if (tid != self && before.count(tid)) {
            woken += count - before.at(tid);
        }
    }
    return static_cast<double>(woken) / seconds;
}

}  // namespace
