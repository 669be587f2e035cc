#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "common/TempFolder.h"
#include "common/Trace.h"
#include "device/SimulatedMouse.h"
#include "fakes/RecordingMessages.h"
#include "session/Session.h"

namespace orv {
namespace {

using namespace std::chrono_literals;

// The listener and the playback thread of a session on the simulated mouse, with the real
// clock: the stop rules of the listener's reports as playback carries them out.
class PlaybackThreadsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(session_.FindDevice(), DeviceStatus::Ready);
        // Button 0 (0xF1) plays user macro 0, many passes of key 0x04; button 1 (0xF3) plays
        // user macro 1, key 0x05.
        for (int m = 0; m < 2; ++m) {
            MacroSlot& slot = session_.Macros().User(m);
            slot.SetEvent(0, static_cast<uint8_t>(0x04 + m), 1, 15);
            slot.SetEventCount(1);
            slot.SetRepeatOn(1);
            slot.SetRepeatCount(1000);
            session_.Settings().buttonFunction[m] = 41 + m;
        }
        session_.CurrentProfile() = 1;
        session_.SayGoodbye();
        mouse_.ClearReports();
        session_.StartThreads();
    }

    void TearDown() override { session_.StopThreads(); }

    void Input(uint8_t code, uint8_t byte2) {
        const uint8_t report[] = {6, code, byte2};
        session_.SimulateInput(report);
    }

    bool WaitUntil(const std::function<bool()>& condition) {
        const auto limit = std::chrono::steady_clock::now() + 30s;
        while (!condition()) {
            if (std::chrono::steady_clock::now() > limit) {
                return false;
            }
            std::this_thread::sleep_for(1ms);
        }
        return true;
    }

    // Reports come in passes of three: the key, then the two releases.
    void ExpectStoppedAfterWholePasses() {
        ASSERT_TRUE(WaitUntil([&] { return session_.PlaybackIdle(); }));
        const auto reports = mouse_.Reports();
        EXPECT_EQ(reports.size() % 3, 0u);
        EXPECT_LT(reports.size(), 3u * 1000);
        for (size_t i = 0; i < reports.size(); ++i) {
            EXPECT_EQ(reports[i].bytes[1], i % 3 == 1 ? 0x16 : 0x15) << i;
            // The button report keeps byte 2 of the key report before it.
            EXPECT_EQ(reports[i].bytes[2], i % 3 == 2 ? 0x00 : 0x04) << i;  // never the other macro
        }
        EXPECT_EQ(session_.Flags().StopRequest.load(), 0);
    }

    test::TempFolder folder_;
    Trace trace_{stdout, false, false};
    test::RecordingMessages messages_;
    Session session_{{folder_.Path(), folder_ / "config.ini", folder_ / "skins"},
                     true,
                     trace_,
                     messages_,
                     [](std::function<void()> work) { work(); }};
    SimulatedMouse& mouse_ = *session_.Simulated();
};

TEST_F(PlaybackThreadsTest, NormalModeSecondPressStopsWithoutStartingAnother) {
    Input(0xF1, 0);
    ASSERT_TRUE(mouse_.WaitForReports(4, 30s));
    Input(0xF3, 0);
    ExpectStoppedAfterWholePasses();
}

TEST_F(PlaybackThreadsTest, AnyOtherReportStopsAPlayingMacro) {
    Input(0xF1, 0);
    ASSERT_TRUE(mouse_.WaitForReports(4, 30s));
    Input(0x05, 0);
    ExpectStoppedAfterWholePasses();
}

TEST_F(PlaybackThreadsTest, HoldModeReleaseStopsAndAnIdleReleaseIsDropped) {
    session_.Settings().macroMode = 1;
    const uint64_t before = session_.Flags().event.Sequence();
    Input(0xF1, 0x80);  // a release while idle: raised, then cleared by the idle thread
    ASSERT_TRUE(WaitUntil(
        [&] { return session_.Flags().event.Sequence() != before && session_.Flags().StopRequest.load() == 0; }));
    Input(0xF1, 0);
    ASSERT_TRUE(mouse_.WaitForReports(7, 30s));  // the stale release did not end the macro
    Input(0xF3, 0);                              // another press in hold mode changes nothing
    Input(0xF1, 0x80);
    ExpectStoppedAfterWholePasses();
    EXPECT_GE(mouse_.Reports().size(), 9u);
}

// At exit playback ends before the goodbye report: the mouse gets the releases first, and the
// long pause after a pass's last event does not hold up the exit.
TEST_F(PlaybackThreadsTest, StoppingCutsThePauseAfterTheLastEventAndReleasesBeforeTheGoodbye) {
    MacroSlot& slot = session_.Macros().User(0);
    slot = MacroSlot{};
    slot.SetEvent(0, 0x04, 1, 20);
    slot.SetEvent(1, 0x04, 2, 5000);
    slot.SetEventCount(2);
    slot.SetRepeatCount(1);
    Input(0xF1, 0);
    ASSERT_TRUE(mouse_.WaitForReports(2, 30s));
    const auto lastEvent = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(300ms);
    session_.SayGoodbye();
    const auto stopped = std::chrono::steady_clock::now();

    EXPECT_LT(stopped, lastEvent + 5s) << "the stop waited out the pause";
    std::vector<uint8_t> commands;
    for (const auto& report : mouse_.Reports()) {
        commands.push_back(report.bytes[1]);
    }
    EXPECT_EQ(commands, (std::vector<uint8_t>{0x15, 0x15, 0x16, 0x15, 0x20}));
    EXPECT_EQ(mouse_.Reports()[2].bytes[3], 0xFF) << "every button released";
}

}  // namespace
}  // namespace orv
