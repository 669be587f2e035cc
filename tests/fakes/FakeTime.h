#pragma once
#include <chrono>
#include <functional>
#include <vector>

#include "platform/PreciseSleep.h"

namespace orv::test {

// Time stands still except when someone sleeps; each sleep may overshoot its deadline, which
// shows whether the next deadline counts from the real moment or from the one planned.
class FakeTime : public Clock, public Sleeper {
public:
    SteadyTime Now() override { return now; }
    void SleepUntil(SteadyTime deadline) override {
        deadlines.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyTime{}).count());
        if (deadline > now) {
            now = deadline;
        }
        now += overshoot;
        if (onSleep) {
            onSleep(deadlines.size());
        }
    }
    // A raise from onSleep ends the sleep, as if it came just before the deadline.
    bool InterruptibleSleepUntil(SteadyTime deadline, const SleepInterrupt& interrupt) override {
        SleepUntil(deadline);
        return !interrupt.Raised();
    }

    SteadyTime now{};
    std::chrono::milliseconds overshoot{0};
    std::vector<long long> deadlines;  // ms since the clock's zero
    // Called after each sleep with the number of sleeps so far.
    std::function<void(size_t)> onSleep;
};

}  // namespace orv::test
