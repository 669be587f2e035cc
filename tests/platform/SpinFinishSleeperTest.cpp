#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "fakes/FakeTime.h"
#include "platform/SpinFinishSleeper.h"

namespace orv {
namespace {

using namespace std::chrono_literals;
using Duration = std::chrono::steady_clock::duration;

// A clock that moves on by tick at every look, as a real one moves while it is polled.
class TickingClock : public Clock {
public:
    SteadyTime Now() override {
        ++polls;
        if (onPoll) {
            onPoll(polls);
        }
        const SteadyTime seen = now;
        now += tick;
        return seen;
    }

    SteadyTime now{};
    Duration tick = 1us;
    long polls = 0;
    std::function<void(long)> onPoll;
};

// Wakes at its deadline plus latency, as a system timer does; early makes it wake that much
// before instead, once.
class TimerSleeper : public Sleeper {
public:
    explicit TimerSleeper(TickingClock& clock) : clock_(clock) {}

    void SleepUntil(SteadyTime deadline) override {
        deadlines.push_back(deadline);
        SteadyTime woke = deadline + latency;
        if (early > Duration::zero()) {
            woke = deadline - early;
            early = Duration::zero();
        }
        clock_.now = std::max(clock_.now, woke);
        if (onSleep) {
            onSleep();
        }
    }
    bool InterruptibleSleepUntil(SteadyTime deadline, const SleepInterrupt& interrupt) override {
        if (interrupt.Raised()) {
            return false;
        }
        SleepUntil(deadline);
        return !interrupt.Raised();
    }

    std::vector<SteadyTime> deadlines;
    Duration latency = 80us;
    Duration early = Duration::zero();
    std::function<void()> onSleep;

private:
    TickingClock& clock_;
};

struct Rig {
    Rig() {
        auto timer = std::make_unique<TimerSleeper>(clock);
        inner = timer.get();
        sleeper = std::make_unique<SpinFinishSleeper>(std::move(timer), clock);
    }
    TickingClock clock;
    TimerSleeper* inner = nullptr;
    std::unique_ptr<SpinFinishSleeper> sleeper;
};

// The timer is asked for a wake-up only when more than the spin is left, and then for one
// that much before the deadline; the clock decides the rest. Every pause ends at its deadline
// (never before, a tick or two after) and spins no more than the spin.
TEST(SpinFinishSleeper, SleepsToShortlyBeforeTheDeadlineAndSpinsTheRest) {
    constexpr Duration kSpin = SpinFinishSleeper::kDefaultSpin;
    const struct {
        Duration left;
        Duration early;  // the timer wakes this much before what it was asked for, once
        size_t timerWaits;
    } cases[] = {
        {-1ms, {}, 0},        {0us, {}, 0},  {50us, {}, 0}, {kSpin, {}, 0},
        {kSpin + 1us, {}, 1}, {15ms, {}, 1}, {60s, {}, 1},  {15ms, 5ms, 2},
    };
    for (const bool interruptible : {false, true}) {
        for (const auto& c : cases) {
            Rig rig;
            rig.clock.now = SteadyTime{} + 1s;
            rig.inner->early = c.early;
            const SteadyTime deadline = rig.clock.now + c.left;
            SleepInterrupt interrupt;
            if (interruptible) {
                EXPECT_TRUE(rig.sleeper->InterruptibleSleepUntil(deadline, interrupt));
            } else {
                rig.sleeper->SleepUntil(deadline);
            }
            const auto label = ::testing::Message()
                               << "left " << std::chrono::duration_cast<std::chrono::microseconds>(c.left).count()
                               << " us, early "
                               << std::chrono::duration_cast<std::chrono::microseconds>(c.early).count()
                               << " us, interruptible " << interruptible;
            ASSERT_EQ(rig.inner->deadlines.size(), c.timerWaits) << label;
            for (const SteadyTime asked : rig.inner->deadlines) {
                EXPECT_EQ(asked, deadline - kSpin) << label;
            }
            const SteadyTime ended = rig.clock.now - rig.clock.tick;  // the last look
            EXPECT_GE(ended, std::min(deadline, SteadyTime{} + 1s)) << label;
            EXPECT_LE(ended, std::max(deadline, SteadyTime{} + 1s) + 2 * rig.clock.tick) << label;
            EXPECT_LE(rig.clock.polls, 2 * (kSpin / rig.clock.tick) + 8) << label;
        }
    }
}

// Tests run playback on a clock that only sleeps move: the spin must give up on it and leave
// the rest to the sleeper, which still ends no earlier than the deadline.
TEST(SpinFinishSleeper, AClockThatNeverMovesEndsTheSpinAtTheDeadline) {
    for (const bool interruptible : {false, true}) {
        auto fake = std::make_unique<test::FakeTime>();
        test::FakeTime& time = *fake;
        SpinFinishSleeper sleeper(std::move(fake), time);
        const SteadyTime deadline = time.now + 15ms;
        SleepInterrupt interrupt;
        if (interruptible) {
            EXPECT_TRUE(sleeper.InterruptibleSleepUntil(deadline, interrupt));
        } else {
            sleeper.SleepUntil(deadline);
        }
        EXPECT_EQ(time.now, deadline);
        EXPECT_EQ(time.deadlines, (std::vector<long long>{14, 15}));  // 14.8 ms, then the rest
    }
}

// Ending playback must not wait for the spin either: a raise during it ends it at the next look,
// and one during the sleep before it skips it.
TEST(SpinFinishSleeper, ARaiseEndsTheSpinOrSkipsIt) {
    {
        Rig rig;
        SleepInterrupt interrupt;
        long raisedAt = -1;
        rig.clock.onPoll = [&](long polls) {
            if (polls == 50) {
                interrupt.Raise();
                raisedAt = polls;
            }
        };
        EXPECT_FALSE(rig.sleeper->InterruptibleSleepUntil(rig.clock.now + 150us, interrupt));
        EXPECT_EQ(rig.clock.polls, raisedAt);
    }
    {
        Rig rig;
        SleepInterrupt interrupt;
        rig.inner->onSleep = [&] { interrupt.Raise(); };
        EXPECT_FALSE(rig.sleeper->InterruptibleSleepUntil(rig.clock.now + 15ms, interrupt));
        EXPECT_EQ(rig.inner->deadlines.size(), 1u);
        EXPECT_LE(rig.clock.polls, 1);
    }
    {
        Rig rig;
        SleepInterrupt interrupt;
        interrupt.Raise();
        EXPECT_FALSE(rig.sleeper->InterruptibleSleepUntil(rig.clock.now + 15ms, interrupt));
        EXPECT_TRUE(rig.inner->deadlines.empty());
    }
}

// The real clock and timer: the spin never lets a pause end early.
TEST(SpinFinishSleeper, NeverReturnsBeforeTheDeadlineOnTheSystemClock) {
    SpinFinishSleeper sleeper(CreatePreciseSleeper(), SystemClock());
    Clock& clock = SystemClock();
    SleepInterrupt interrupt;
    const Duration pauses[] = {0us, 50us, 199us, 201us, 500us, 1ms, 15ms, 16ms};
    for (int round = 0; round < 3; ++round) {
        for (const Duration pause : pauses) {
            SteadyTime deadline = clock.Now() + pause;
            sleeper.SleepUntil(deadline);
            EXPECT_GE(clock.Now(), deadline);
            deadline = clock.Now() + pause;
            EXPECT_TRUE(sleeper.InterruptibleSleepUntil(deadline, interrupt));
            EXPECT_GE(clock.Now(), deadline);
        }
    }
}

}  // namespace
}  // namespace orv
