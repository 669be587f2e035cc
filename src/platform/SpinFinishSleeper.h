#pragma once
#include <chrono>
#include <memory>

#include "platform/PreciseSleep.h"

namespace orv {

// Sleeps until shortly before the deadline and watches the clock for the rest. A timer
// wake-up comes tens to hundreds of microseconds late, a look at the clock takes a fraction of
// one, so the pause ends within microseconds of its deadline and never before it, for the
// price of a short spin per pause.
//
// The spin is counted as well as timed: a clock that does not move (a test's) cannot hold it
// for good, and what is left then goes to the inner sleeper, which keeps the deadline a lower
// bound.
class SpinFinishSleeper : public Sleeper {
public:
    static constexpr std::chrono::microseconds kDefaultSpin{200};
    // Far more looks than a moving clock needs to cross any spin (each costs tens of
    // nanoseconds), few enough that a stopped clock gives up within milliseconds.
    static constexpr long kMaxPolls = 1'000'000;

    SpinFinishSleeper(std::unique_ptr<Sleeper> inner, Clock& clock,
                      std::chrono::steady_clock::duration spin = kDefaultSpin);

    void SleepUntil(SteadyTime deadline) override;
    // A raise ends the spin as it ends the sleep before it.
    bool InterruptibleSleepUntil(SteadyTime deadline, const SleepInterrupt& interrupt) override;

private:
    enum class SpinEnd { Reached, Interrupted, GaveUp };
    SpinEnd Spin(SteadyTime deadline, const SleepInterrupt* interrupt);

    std::unique_ptr<Sleeper> inner_;
    Clock& clock_;
    std::chrono::steady_clock::duration spin_;
};

}  // namespace orv
