// What the session does when the mouse goes away or stops answering in the middle of its work.
#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "common/TempFolder.h"
#include "common/Trace.h"
#include "device/FeatureReport.h"
#include "device/SimulatedMouse.h"
#include "fakes/RecordingMessages.h"
#include "session/Session.h"

namespace orv {
namespace {

using namespace std::chrono_literals;

class FaultPathsTest : public ::testing::Test {
protected:
    // A session on the simulated mouse with the profile applied, its threads running, and
    // button 0 (0xF1) bound to user macro 0: a macro that would play for hours.
    std::unique_ptr<Session> StartPlaying() {
        auto session =
            std::make_unique<Session>(SessionFolders{folder_.Path(), folder_ / "config.ini", folder_ / "skins"}, true,
                                      trace_, messages_, [this](std::function<void()> work) {
                                          std::lock_guard lock(mutex_);
                                          posted_.push_back(std::move(work));
                                      });
        EXPECT_EQ(session->FindDevice(), DeviceStatus::Ready);
        MacroSlot& slot = session->Macros().User(0);
        for (size_t k = 0; k < 200; ++k) {
            slot.SetEvent(k, 0x04, k % 2 ? MacroSlot::kRelease : MacroSlot::kPress, 5);
        }
        slot.SetEventCount(200);
        slot.SetRepeatOn(1);
        slot.SetRepeatCount(65535);
        session->Settings().buttonFunction[0] = 41;
        session->ApplyProfile();
        session->StartThreads();
        const uint8_t press[] = {6, 0xF1, 0};
        session->SimulateInput(press);
        return session;
    }

    // Runs what the session posted, as the owner's event loop would.
    void RunPosted() {
        std::deque<std::function<void()>> work;
        {
            std::lock_guard lock(mutex_);
            work.swap(posted_);
        }
        for (auto& item : work) {
            item();
        }
    }

    static bool WaitUntil(const std::function<bool()>& condition) {
        for (auto limit = std::chrono::steady_clock::now() + 60s; !condition();) {
            if (std::chrono::steady_clock::now() > limit) {
                return false;
            }
            std::this_thread::sleep_for(1ms);
        }
        return true;
    }

    test::TempFolder folder_;
    Trace trace_{stdout, false, false};
    test::RecordingMessages messages_;
    std::mutex mutex_;
    std::deque<std::function<void()>> posted_;
};

// The way out mid-macro: the mouse pulled out (the removal ends the utility) or Exit Driver
// with the mouse still there. Either way playback stops at once rather than after its hours,
// and nothing reaches the mouse after the goodbye report.
TEST_F(FaultPathsTest, TheUtilityEndsPromptlyInTheMiddleOfAMacro) {
    for (const bool unplug : {true, false}) {
        auto session = StartPlaying();
        SimulatedMouse& mouse = *session->Simulated();
        const size_t applied = mouse.Reports().size();
        ASSERT_TRUE(mouse.WaitForReports(applied + 20, 60s)) << "the macro plays";
        ASSERT_FALSE(session->PlaybackIdle());

        int exits = 0;
        auto exitDriver = [&] {
            ++exits;
            session->SayGoodbye();
        };
        session->WatchDeviceChanges(exitDriver);
        if (unplug) {
            std::thread([&] { mouse.Unplug(); }).join();  // as the system's monitor announces it
            RunPosted();
        } else {
            exitDriver();  // the tray's Exit Driver
        }
        EXPECT_EQ(exits, 1);
        EXPECT_TRUE(session->PlaybackIdle()) << (unplug ? "unplugged" : "exit");
        const auto reports = mouse.Reports();
        session->StopThreads();  // as the program's end does
        ASSERT_EQ(mouse.Reports().size(), reports.size()) << "a report after the goodbye";
        if (!unplug) {
            ASSERT_FALSE(reports.empty());
            EXPECT_EQ(reports.back().bytes[1], command::kGoodbye);
        }
    }
}

// A mouse that stops taking feature reports while it stays plugged in: the apply counts every
// report as failed, a playing macro still stops when told, and the goodbye says it was not sent.
TEST_F(FaultPathsTest, FailingSendsAreCountedAndNothingStops) {
    auto session = StartPlaying();
    SimulatedMouse& mouse = *session->Simulated();
    mouse.FailFeatureReports(true);
    mouse.ClearReports();

    const ApplyResult applied = session->ApplyProfile();
    EXPECT_EQ(applied.reportsSent, 0);
    EXPECT_EQ(applied.reportsFailed, 13);

    const uint8_t pressAgain[] = {6, 0xF1, 0};  // stops the macro
    session->SimulateInput(pressAgain);
    EXPECT_TRUE(WaitUntil([&] { return session->PlaybackIdle(); }));
    EXPECT_FALSE(session->SayGoodbye());
    EXPECT_TRUE(mouse.Reports().empty());

    mouse.FailFeatureReports(false);
    EXPECT_EQ(session->ApplyProfile().reportsFailed, 0);
}

}  // namespace
}  // namespace orv
