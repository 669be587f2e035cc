#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>

namespace orv {

using SteadyTime = std::chrono::steady_clock::time_point;

// Time source and sleeper of the macro timing, replaceable in tests.
class Clock {
public:
    virtual ~Clock() = default;
    virtual SteadyTime Now() = 0;
};

// Ends interruptible sleeps early, from any thread. Once raised it stays raised until cleared,
// so a sleep that starts after the raise returns at once. Linux: an eventfd; Windows: a
// manual-reset event.
class SleepInterrupt {
public:
    SleepInterrupt();
    ~SleepInterrupt();
    SleepInterrupt(const SleepInterrupt&) = delete;
    SleepInterrupt& operator=(const SleepInterrupt&) = delete;

    void Raise();
    void Clear();
    bool Raised() const { return raised_.load(std::memory_order_acquire); }
    // What the system's sleepers wait on beside their timer.
    std::intptr_t Native() const { return native_; }

private:
    std::atomic<bool> raised_{false};
    std::intptr_t native_ = -1;
};

class Sleeper {
public:
    virtual ~Sleeper() = default;
    // Returns no earlier than deadline.
    virtual void SleepUntil(SteadyTime deadline) = 0;
    // As SleepUntil, but returns within moments of interrupt being raised, and at once when it
    // already is; false when it returned before the deadline for that reason.
    virtual bool InterruptibleSleepUntil(SteadyTime deadline, const SleepInterrupt& interrupt) = 0;
};

Clock& SystemClock();
// Linux: clock_nanosleep on CLOCK_MONOTONIC with an absolute deadline. Windows: a
// high-resolution waitable timer, the process opted out of timer throttling.
std::unique_ptr<Sleeper> CreatePreciseSleeper();

}  // namespace orv
