#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "fakes/FakeTime.h"
#include "session/PreviewThread.h"

namespace orv {
namespace {

using namespace std::chrono_literals;

// The preview's records as the window keeps them.
struct PreviewRecords {
    Relaxed<int32_t> color{0};
    Relaxed<bool> dark{false};
    Relaxed<bool> running{false};
    Relaxed<uint8_t> mode{0};
    Relaxed<int32_t> level{0};
    std::atomic<bool> colorPage{true};
    std::atomic<int> repaints{0};

    PreviewContext Context(Clock& clock, Sleeper& sleeper, std::function<void()> repaint = {}) {
        return {color,
                dark,
                running,
                mode,
                level,
                [this] { return colorPage.load(); },
                [this, repaint] {
                    ++repaints;
                    if (repaint) {
                        repaint();
                    }
                },
                clock,
                sleeper};
    }
};

const char* const kColours[] = {"blue", "pink", "red", "purple"};

// One animation run on the test's thread: what each repaint showed, and how long each pause
// was. The page is left during pause number leaveAfter; onPause(n) may change the records.
struct Animation {
    std::vector<std::string> shown;
    std::vector<long long> pauses;
};

Animation Animate(PreviewRecords& r, size_t leaveAfter, std::function<void(size_t)> onPause = {}) {
    test::FakeTime time;
    Animation a;
    long long last = 0;
    time.onSleep = [&](size_t n) {
        a.pauses.push_back(time.deadlines.back() - last);
        last = time.deadlines.back();
        if (onPause) {
            onPause(n);
        }
        if (n == leaveAfter) {
            r.colorPage = false;
        }
    };
    PreviewThread preview(r.Context(time, time, [&] {
        a.shown.push_back(r.dark ? "dark" : r.color >= 0 && r.color < 4 ? kColours[r.color] : "?");
    }));
    r.running = true;  // as Start marks it
    preview.Run();
    EXPECT_FALSE(r.running) << "the thread's last act";
    return a;
}

TEST(PreviewThread, BlinkingModesShowEachColourThenDarkMovingOn) {
    PreviewRecords r;
    r.level = 3;
    r.dark = false;
    const Animation a = Animate(r, 9);
    const std::vector<std::string> expected{"dark", "blue", "dark", "pink", "dark", "red", "dark", "purple", "dark"};
    EXPECT_EQ(a.shown, expected);
    EXPECT_EQ(a.pauses, std::vector<long long>(9, 1200));

    PreviewRecords fast;
    fast.mode = 1;
    fast.level = 0;
    fast.dark = true;  // left so by an earlier thread: the first step lights it
    const Animation b = Animate(fast, 4);
    EXPECT_EQ(b.shown, (std::vector<std::string>{"blue", "dark", "pink", "dark"}));
    EXPECT_EQ(b.pauses, std::vector<long long>(4, 800));
}

TEST(PreviewThread, SteadyAndDarkModesFollowTheLevelWithinAStep) {
    for (const uint8_t mode : {2, 3}) {
        PreviewRecords r;
        r.mode = mode;
        r.level = 1;
        const Animation a = Animate(r, 3, [&](size_t n) {
            if (n == 1) {
                r.level = 2;
            }
        });
        const std::vector<std::string> expected =
            mode == 2 ? std::vector<std::string>{"pink", "red", "red"} : std::vector<std::string>(3, "dark");
        EXPECT_EQ(a.shown, expected) << int(mode);
        EXPECT_EQ(a.pauses, std::vector<long long>(3, 1200)) << "no hold in mode " << int(mode);
        if (mode != 2) {
            EXPECT_EQ(r.color.load(), 2) << "the dark light keeps the level's colour";
        }
    }
}

// The new level's colour comes at once, lit, and stays for the hold plus one step; the cycle
// then goes on from it.
TEST(PreviewThread, ALevelChangeIsHeldThenTheCycleGoesOnFromIt) {
    PreviewRecords r;
    r.level = 0;
    const Animation a = Animate(r, 5, [&](size_t n) {
        if (n == 1) {
            r.level = 2;
        }
    });
    EXPECT_EQ(a.shown, (std::vector<std::string>{"dark", "red", "red", "dark", "purple"}));
    EXPECT_EQ(a.pauses, (std::vector<long long>{1200, 2000, 1200, 1200, 1200}));
}

// Sleeps only as long as it takes Stop to raise the interrupt, whatever the deadline.
class UntilInterrupted : public Sleeper {
public:
    void SleepUntil(SteadyTime) override {}
    bool InterruptibleSleepUntil(SteadyTime, const SleepInterrupt& interrupt) override {
        ++sleeps;
        while (!interrupt.Raised()) {
            std::this_thread::sleep_for(1ms);
        }
        return false;
    }
    std::atomic<int> sleeps{0};
};

// Every pause lasts a millisecond of real time.
class Quick : public Sleeper {
public:
    void SleepUntil(SteadyTime) override { std::this_thread::sleep_for(1ms); }
    bool InterruptibleSleepUntil(SteadyTime, const SleepInterrupt& interrupt) override {
        std::this_thread::sleep_for(1ms);
        return !interrupt.Raised();
    }
};

TEST(PreviewThread, AtMostOneThreadWhichEndsWhenThePageIsLeft) {
    PreviewRecords r;
    Quick sleeper;
    PreviewThread preview(r.Context(SystemClock(), sleeper));

    EXPECT_TRUE(preview.Start());
    EXPECT_TRUE(r.running);
    EXPECT_FALSE(preview.Start()) << "entering again while it runs";
    while (r.repaints < 3) {
        std::this_thread::sleep_for(1ms);
    }
    r.colorPage = false;
    while (r.running) {
        std::this_thread::sleep_for(1ms);
    }
    const int repaints = r.repaints;
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(r.repaints.load(), repaints) << "an ended thread paints no more";

    r.colorPage = true;
    EXPECT_TRUE(preview.Start()) << "a later entry starts a new one";
    preview.Stop();
    EXPECT_FALSE(r.running);
    EXPECT_FALSE(preview.Start()) << "nothing starts once stopped";
}

TEST(PreviewThread, StopCutsThePauseShort) {
    PreviewRecords r;
    UntilInterrupted sleeper;
    PreviewThread preview(r.Context(SystemClock(), sleeper));
    ASSERT_TRUE(preview.Start());
    while (sleeper.sleeps == 0) {
        std::this_thread::sleep_for(1ms);
    }
    preview.Stop();  // would never return if the pause ran on
    EXPECT_FALSE(r.running);
    EXPECT_EQ(r.repaints.load(), 1);
}

}  // namespace
}  // namespace orv
