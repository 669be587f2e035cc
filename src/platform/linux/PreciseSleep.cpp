#include "platform/PreciseSleep.h"

#include <cerrno>
#include <ctime>

namespace orv {

namespace {

class SteadyClock : public Clock {
public:
    SteadyTime Now() override { return std::chrono::steady_clock::now(); }
};

// steady_clock is CLOCK_MONOTONIC with libstdc++ and libc++, so its time points are valid
// absolute deadlines for clock_nanosleep on the same clock.
class MonotonicSleeper : public Sleeper {
public:
    void SleepUntil(SteadyTime deadline) override {
        const auto since = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline.time_since_epoch()).count();
        if (since <= 0) {
            return;
        }
        timespec ts{};
        ts.tv_sec = static_cast<time_t>(since / 1'000'000'000);
        ts.tv_nsec = static_cast<long>(since % 1'000'000'000);
        // A signal interrupts the sleep; the absolute deadline makes resuming exact.
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
        }
    }
};

}  // namespace

Clock& SystemClock() {
    static SteadyClock clock;
    return clock;
}

std::unique_ptr<Sleeper> CreatePreciseSleeper() { return std::make_unique<MonotonicSleeper>(); }

}  // namespace orv
