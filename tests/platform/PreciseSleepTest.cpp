#include <gtest/gtest.h>

#include <chrono>

#include "platform/PreciseSleep.h"

namespace orv {
namespace {

using namespace std::chrono_literals;

// Macro delays are lower bounds: an event must never go out before its pause has passed, so
// every wake-up is checked against the clock the deadline was taken from.
TEST(PreciseSleep, NeverReturnsBeforeTheDeadline) {
    std::unique_ptr<Sleeper> sleeper = CreatePreciseSleeper();
    Clock& clock = SystemClock();
    const std::chrono::steady_clock::duration pauses[] = {0us, 50us, 500us, 1ms, 2ms, 3ms, 10ms, 15ms, 16ms, 21ms};
    for (int round = 0; round < 5; ++round) {
        for (const auto pause : pauses) {
            const SteadyTime deadline = clock.Now() + pause;
            sleeper->SleepUntil(deadline);
            const SteadyTime woke = clock.Now();
            EXPECT_GE(woke, deadline) << "pause " << std::chrono::duration<double, std::micro>(pause).count()
                                      << " us, woke " << std::chrono::duration<double, std::micro>(deadline - woke).count()
                                      << " us early";
        }
    }
}

TEST(PreciseSleep, PastDeadlineReturnsAndLaterSleepsStillWait) {
    std::unique_ptr<Sleeper> sleeper = CreatePreciseSleeper();
    Clock& clock = SystemClock();
    sleeper->SleepUntil(clock.Now() - 1s);
    const SteadyTime start = clock.Now();
    sleeper->SleepUntil(start + 30ms);
    EXPECT_GE(clock.Now() - start, 30ms);
}

}  // namespace
}  // namespace orv
