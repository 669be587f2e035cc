#pragma once
#include <chrono>
#include <memory>

namespace orv {

using SteadyTime = std::chrono::steady_clock::time_point;

// Time source and sleeper of the macro timing, replaceable in tests.
class Clock {
public:
    virtual ~Clock() = default;
    virtual SteadyTime Now() = 0;
};

class Sleeper {
public:
    virtual ~Sleeper() = default;
    // Returns no earlier than deadline.
    virtual void SleepUntil(SteadyTime deadline) = 0;
};

Clock& SystemClock();
// Linux: clock_nanosleep on CLOCK_MONOTONIC with an absolute deadline. Windows: a
// high-resolution waitable timer, the process opted out of timer throttling.
std::unique_ptr<Sleeper> CreatePreciseSleeper();

}  // namespace orv
