#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "device/DeviceLink.h"
#include "device/InputListener.h"
#include "device/SimulatedMouse.h"

namespace orv {
namespace {

struct FlagState {
    int32_t playbackActive;
    uint8_t triggerCode;
    int32_t stopRequest;
    bool operator==(const FlagState&) const = default;
};

std::ostream& operator<<(std::ostream& os, const FlagState& s) {
    return os << "{active " << s.playbackActive << ", trigger 0x" << std::hex << int(s.triggerCode) << std::dec
              << ", stop " << s.stopRequest << "}";
}

struct TransitionCase {
    const char* name;
    FlagState before;
    int32_t macroMode;
    std::vector<uint8_t> report;
    FlagState after;
};

constexpr FlagState kIdle{0, 0, 0};
constexpr FlagState kPlaying{1, 0xF1, 0};
constexpr int32_t kNormal = 0;
constexpr int32_t kHold = 1;

TEST(InputListenerFlags, TransitionsForEachStateAndReport) {
    const std::vector<TransitionCase> cases = {
        {"press while idle starts", kIdle, kNormal, {6, 0xF3, 0x00}, {1, 0xF3, 0}},
        {"press with a DPI level while idle starts", kIdle, kHold, {6, 0xF6, 0x02}, {1, 0xF6, 0}},
        {"second press in normal mode stops", kPlaying, kNormal, {6, 0xF3, 0x00}, {1, 0xF1, 1}},
        {"second press in hold mode changes nothing", kPlaying, kHold, {6, 0xF3, 0x00}, kPlaying},
        {"release in hold mode stops", kPlaying, kHold, {6, 0xF1, 0x80}, {1, 0xF1, 1}},
        {"release in hold mode while idle raises the stop", kIdle, kHold, {6, 0xF1, 0x80}, {0, 0, 1}},
        {"release in normal mode changes nothing", kPlaying, kNormal, {6, 0xF1, 0x80}, kPlaying},
        {"other event while playing stops", kPlaying, kNormal, {6, 0x10, 0x00}, {1, 0xF1, 1}},
        {"event 0xF0 while playing stops", kPlaying, kHold, {6, 0xF0, 0x00}, {1, 0xF1, 1}},
        {"event 0xF0 is not a press", kIdle, kNormal, {6, 0xF0, 0x00}, kIdle},
        {"another report id changes nothing", kIdle, kNormal, {5, 0xF1, 0x00}, kIdle},
        {"another report id while playing changes nothing", kPlaying, kNormal, {5, 0x10, 0x00}, kPlaying},
    };
    for (const TransitionCase& c : cases) {
        PlaybackFlags flags;
        flags.PlaybackActive = c.before.playbackActive;
        flags.TriggerCode = c.before.triggerCode;
        flags.StopRequest = c.before.stopRequest;
        const bool changed = HandleInputReport(c.report, c.macroMode, flags);
        const FlagState after{flags.PlaybackActive.load(), flags.TriggerCode.load(), flags.StopRequest.load()};
        EXPECT_EQ(after, c.after) << c.name;
        EXPECT_EQ(changed, !(after == c.before)) << c.name;
    }
}

TEST(InputListenerFlags, DpiPressLeavesItsLevelInTheInputBuffer) {
    PlaybackFlags flags;
    HandleInputReport(std::vector<uint8_t>{6, 0xF6, 0x03, 0, 0, 0, 0, 0}, kNormal, flags);
    EXPECT_EQ(flags.InputBuffer[2], 3);

    // The button's release (or any other report) can arrive before playback has served the
    // press; the level playback then reads must still be the pressed one, not 0x80.
    HandleInputReport(std::vector<uint8_t>{6, 0xF6, 0x80, 0, 0, 0, 0, 0}, kHold, flags);
    HandleInputReport(std::vector<uint8_t>{6, 0x01, 0x00, 0, 0, 0, 0, 0}, kNormal, flags);
    EXPECT_EQ(flags.InputBuffer[2], 3);
}

class InputListenerThreadTest : public ::testing::Test {
protected:
    // Waits, with a generous limit, for the listener to signal a change after seen.
    bool WaitForSignal(uint64_t seen) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        return flags.event.WaitForChange(seen, deadline) != seen;
    }

    SimulatedMouse mouse;
    DeviceLink link{mouse};
    Relaxed<int32_t> macroMode;
    PlaybackFlags flags;
};

TEST_F(InputListenerThreadTest, ReadsReportsAndSignalsEachChange) {
    ASSERT_TRUE(link.FindDevice());
    InputListenerThread listener(link, macroMode, flags);
    listener.Start();

    uint64_t seen = flags.event.Sequence();
    mouse.SendInputReport(std::vector<uint8_t>{6, 0xF2, 0x01});
    ASSERT_TRUE(WaitForSignal(seen));
    EXPECT_EQ(flags.PlaybackActive.load(), 1);
    EXPECT_EQ(flags.TriggerCode.load(), 0xF2);

    seen = flags.event.Sequence();
    mouse.SendInputReport(std::vector<uint8_t>{6, 0xF4, 0x00});
    ASSERT_TRUE(WaitForSignal(seen));
    EXPECT_EQ(flags.StopRequest.load(), 1);
    EXPECT_EQ(flags.TriggerCode.load(), 0xF2);
    listener.Stop();
}

TEST_F(InputListenerThreadTest, StopsWhileBlockedInARead) {
    ASSERT_TRUE(link.FindDevice());
    InputListenerThread listener(link, macroMode, flags);
    listener.Start();
    listener.Stop();  // returns only once the thread has ended
    EXPECT_EQ(flags.PlaybackActive.load(), 0);
}

TEST_F(InputListenerThreadTest, PollsWithoutTheMouseAndFollowsRediscovery) {
    InputListenerThread listener(link, macroMode, flags);
    listener.Start();
    ASSERT_TRUE(link.FindDevice());
    mouse.Unplug();
    mouse.Plug();
    ASSERT_TRUE(link.FindDevice());  // the listener's old handle is cancelled and replaced

    const uint64_t seen = flags.event.Sequence();
    mouse.SendInputReport(std::vector<uint8_t>{6, 0xF5, 0x00});
    ASSERT_TRUE(WaitForSignal(seen));
    EXPECT_EQ(flags.TriggerCode.load(), 0xF5);
    listener.Stop();
}

TEST(ListenerEvent, WaitEndsOnSignalOrDeadline) {
    ListenerEvent event;
    const uint64_t start = event.Sequence();
    EXPECT_EQ(event.WaitForChange(start, std::chrono::steady_clock::now()), start);

    std::thread signaller([&] { event.Signal(); });
    EXPECT_NE(event.WaitForChange(start, std::chrono::steady_clock::now() + std::chrono::seconds(30)), start);
    signaller.join();
}

}  // namespace
}  // namespace orv
