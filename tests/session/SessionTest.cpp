#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/IniFile.h"
#include "common/TempFolder.h"
#include "common/Unreadable.h"
#include "common/Trace.h"
#include "device/SimulatedMouse.h"
#include "fakes/RecordingMessages.h"
#include "macro/MacroFile.h"
#include "session/Session.h"
#include "settings/ConfigFile.h"

namespace orv {
namespace {

using namespace std::chrono_literals;

// Work the session posts waits here until the test, the session's owner, runs it.
class PostedWork {
public:
    Session::Post Post() {
        return [this](std::function<void()> work) {
            std::lock_guard lock(mutex_);
            queue_.push_back(std::move(work));
        };
    }
    size_t Size() {
        std::lock_guard lock(mutex_);
        return queue_.size();
    }
    void RunAll() {
        std::deque<std::function<void()>> queue;
        {
            std::lock_guard lock(mutex_);
            queue.swap(queue_);
        }
        for (auto& work : queue) {
            work();
        }
    }

private:
    std::mutex mutex_;
    std::deque<std::function<void()>> queue_;
};

class SessionTest : public ::testing::Test {
protected:
    std::unique_ptr<Session> Make() {
        return std::make_unique<Session>(SessionFolders{folder_.Path(), folder_ / "config.ini", folder_ / "skins"},
                                         true, trace_, messages_, posted_.Post());
    }

    test::TempFolder folder_;
    Trace trace_{stdout, false, false};
    test::RecordingMessages messages_;
    PostedWork posted_;
};

// Every change of profile reads the section first: a config.ini that cannot be read leaves the
// current profile and the working settings as they were, so the settings shown are never saved
// as another profile's.
TEST_F(SessionTest, AProfileIsChosenOnlyOnceItsSectionIsRead) {
    ASSERT_TRUE(ini::Write(folder_ / "config.ini", "Config3", "FIRE_TIME", "33"));
    auto session = Make();
    session->CurrentProfile() = 2;
    session->Settings().fireTime = 22;
    const auto shown = ProfileKeyValues(session->Settings());

    EXPECT_EQ(session->ChooseProfile(3), ProfileFound::Section);
    EXPECT_EQ(session->CurrentProfile().load(), 3);
    EXPECT_EQ(session->Settings().fireTime.load(), 33);

    session->CurrentProfile() = 2;
    session->Settings().fireTime = 22;
    test::MakeUnreadable(folder_ / "config.ini");
    EXPECT_EQ(session->ChooseProfile(3), ProfileFound::Unreadable);
    const StoredApplyResult applied = session->ApplyStoredProfile(4);
    EXPECT_EQ(applied.found, ProfileFound::Unreadable);
    EXPECT_EQ(session->CurrentProfile().load(), 2);
    EXPECT_EQ(ProfileKeyValues(session->Settings()), shown);
    EXPECT_FALSE(session->SaveProfile());
}

// Button 3 (0xF5) steps the DPI level on the mouse, which reports the new level.
TEST_F(SessionTest, PlaybackSavesTheMousesChangeIntoTheProfileOfTheMomentAndPostsTheRepaint) {
    test::WriteBytes(folder_ / "config.ini", "[Init]\r\nCurConfig=2\r\n[Config2]\r\nK3=15\r\nDPI_LEVEL=0\r\n");
    auto session = Make();
    session->LoadConfiguration();
    EXPECT_EQ(session->CurrentProfile().load(), 2);
    ASSERT_EQ(session->FindDevice(), DeviceStatus::Ready);
    const ApplyResult applied = session->ApplyProfile();
    EXPECT_EQ(applied.reportsSent, 13);
    int repaints = 0;
    session->StartThreads([&] { ++repaints; });

    session->CurrentProfile() = 4;  // a profile chosen on the window, not applied
    const uint8_t press[] = {6, 0xF5, 2};
    const uint8_t release[] = {6, 0xF5, 0x80};
    session->SimulateInput(press);
    session->SimulateInput(release);
    ASSERT_TRUE(session->WaitUntilInputServed(SystemClock().Now() + 60s));

    EXPECT_EQ(session->Settings().dpiLevel.load(), 2);
    EXPECT_EQ(ini::Read(folder_ / "config.ini", "Config4", "DPI_LEVEL", 10), "2");
    EXPECT_EQ(ini::Read(folder_ / "config.ini", "Config2", "DPI_LEVEL", 10), "0");
    EXPECT_EQ(repaints, 0) << "the repaint runs on the owner's thread, not on playback's";
    ASSERT_EQ(posted_.Size(), 1u);
    posted_.RunAll();
    EXPECT_EQ(repaints, 1);
}

TEST_F(SessionTest, AMacroStillPlayingAtTheDeadlineIsNotServed) {
    auto session = Make();
    ASSERT_EQ(session->FindDevice(), DeviceStatus::Ready);
    MacroSlot& slot = session->Macros().User(0);
    slot.SetEvent(0, 0x04, 1, 100);
    slot.SetEventCount(1);
    session->Settings().buttonFunction[0] = 41;
    session->Settings().macroMode = 1;  // hold mode: thousands of passes until the release
    session->StartThreads();
    const uint8_t press[] = {6, 0xF1, 0};
    session->SimulateInput(press);
    EXPECT_FALSE(session->WaitUntilInputServed(SystemClock().Now() + 50ms));
    session->StopThreads();  // ends the macro with its releases
    EXPECT_TRUE(session->PlaybackIdle());
}

TEST_F(SessionTest, RemovalEndsThroughTheOwnersThreadOnlyWhileTheSessionLives) {
    int exits = 0;
    auto session = Make();
    ASSERT_EQ(session->FindDevice(), DeviceStatus::Ready);
    session->WatchDeviceChanges([&] { ++exits; });
    std::thread([&] { session->SimulateUnplug(); }).join();  // as the system's monitor announces it
    EXPECT_EQ(exits, 0);
    posted_.RunAll();
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(session->FindDevice(), DeviceStatus::Absent);

    auto ended = Make();
    ASSERT_EQ(ended->FindDevice(), DeviceStatus::Ready);
    ended->WatchDeviceChanges([&] { ++exits; });
    ended->SimulateUnplug();
    ASSERT_GT(posted_.Size(), 0u);
    ended.reset();
    posted_.RunAll();
    EXPECT_EQ(exits, 1);
}

// A mouse found again is not always one the session can use: the owner hears what was found.
TEST_F(SessionTest, AMouseFoundAgainIsReportedWithItsAccess) {
    struct Case {
        SimulatedMouse::Access access;
        DeviceStatus status;
    };
    const Case cases[] = {
        {SimulatedMouse::Access::Granted, DeviceStatus::Ready},
        {SimulatedMouse::Access::Denied, DeviceStatus::AccessDenied},
        {SimulatedMouse::Access::Failing, DeviceStatus::Unopened},
    };
    for (const Case& c : cases) {
        auto session = Make();
        ASSERT_EQ(session->FindDevice(), DeviceStatus::Ready);
        std::vector<DeviceStatus> found;
        session->WatchDeviceChanges([] {}, [&](DeviceStatus status) { found.push_back(status); });
        session->SimulateUnplug();
        posted_.RunAll();
        session->Simulated()->SetAccess(c.access);
        session->Simulated()->Plug();
        posted_.RunAll();
        EXPECT_EQ(found, std::vector<DeviceStatus>{c.status});
        EXPECT_EQ(session->FindDevice(), c.status);
    }
}

TEST_F(SessionTest, MacrosComeFromTheFilesOfTheLanguage) {
    test::WriteBytes(folder_ / "config.ini", "[Init]\r\nCurConfig=1\r\nVER_SEL=1\r\n");
    MacroStore written;
    written.User(0).SetName(u"Combo");
    written.macroCount = 1;
    ASSERT_TRUE(SaveMacroFile(folder_ / "Macro_EN.dat", written));
    auto session = Make();
    session->LoadConfiguration();

    EXPECT_FALSE(session->LoadMacros().allPresent) << "constMacro.dat is missing";
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].second, "找不到配置文件");
    EXPECT_EQ(session->Macros().macroCount.load(), 1);
    EXPECT_EQ(session->Macros().User(0).name(), u"Combo");
    EXPECT_EQ(session->Macros().userMacroFile, folder_ / "Macro_EN.dat");
}

}  // namespace
}  // namespace orv
