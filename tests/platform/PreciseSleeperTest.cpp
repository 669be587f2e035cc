#include <gtest/gtest.h>

#include <chrono>

#include "platform/PreciseSleep.h"

namespace orv {
namespace {

TEST(PreciseSleeper, NeverReturnsBeforeTheDeadline) {
    auto sleeper = CreatePreciseSleeper();
    Clock& clock = SystemClock();
    for (int ms : {0, 1, 3, 15}) {
        const SteadyTime deadline = clock.Now() + std::chrono::milliseconds(ms);
        sleeper->SleepUntil(deadline);
        EXPECT_GE(clock.Now(), deadline) << ms;
    }
    sleeper->SleepUntil(SteadyTime{});  // long past: returns at once
}

}  // namespace
}  // namespace orv
