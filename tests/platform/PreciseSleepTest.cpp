#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

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
                                      << " us, woke "
                                      << std::chrono::duration<double, std::micro>(deadline - woke).count()
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

// The command line sleeps on its script while the playback thread sleeps between events, both
// on one sleeper: neither may hold up or lose the other's wake-up.
TEST(PreciseSleep, OneSleeperServesSeveralThreadsAtOnce) {
    std::unique_ptr<Sleeper> sleeper = CreatePreciseSleeper();
    Clock& clock = SystemClock();
    const SteadyTime start = clock.Now();
    SteadyTime shortWoke{};
    SteadyTime longWoke{};
    std::thread longSleeper([&] {
        sleeper->SleepUntil(start + 1s);
        longWoke = clock.Now();
    });
    std::thread shortSleeper([&] {
        for (int i = 1; i <= 5; ++i) {
            sleeper->SleepUntil(start + i * 15ms);
        }
        shortWoke = clock.Now();
    });
    shortSleeper.join();
    longSleeper.join();
    EXPECT_GE(shortWoke, start + 75ms);
    EXPECT_GE(longWoke, start + 1s);
    EXPECT_LT(shortWoke, longWoke) << "the short sleeps waited for the long one";
}

// Ending playback must not wait for a pause of up to a minute.
TEST(PreciseSleep, ARaiseEndsAnInterruptibleSleepAndAnUnraisedOneWaitsItOut) {
    std::unique_ptr<Sleeper> sleeper = CreatePreciseSleeper();
    Clock& clock = SystemClock();
    SleepInterrupt interrupt;
    SteadyTime start = clock.Now();
    EXPECT_TRUE(sleeper->InterruptibleSleepUntil(start + 20ms, interrupt));
    EXPECT_GE(clock.Now(), start + 20ms);

    start = clock.Now();
    std::thread raiser([&] {
        std::this_thread::sleep_for(50ms);
        interrupt.Raise();
    });
    EXPECT_FALSE(sleeper->InterruptibleSleepUntil(start + 60s, interrupt));
    EXPECT_LT(clock.Now(), start + 60s);
    raiser.join();
    EXPECT_FALSE(sleeper->InterruptibleSleepUntil(clock.Now() + 60s, interrupt)) << "a raise stays raised";

    interrupt.Clear();
    start = clock.Now();
    EXPECT_TRUE(sleeper->InterruptibleSleepUntil(start + 20ms, interrupt));
    EXPECT_GE(clock.Now(), start + 20ms);
}

}  // namespace
}  // namespace orv
