#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/IniFile.h"
#include "common/TempFolder.h"
#include "common/Trace.h"
#include "device/DeviceLink.h"
#include "device/FeatureReport.h"
#include "device/InputListener.h"
#include "device/SimulatedMouse.h"
#include "fakes/FakeTime.h"
#include "fakes/RecordingLauncher.h"
#include "macro/MacroPlayback.h"
#include "settings/ApplyProfile.h"
#include "settings/ProfileSettings.h"

namespace orv {
namespace {

using std::chrono::milliseconds;
using test::FakeTime;
using test::RecordingLauncher;

class PlaybackTest : public ::testing::Test {
protected:
    PlaybackTest() : link_(mouse_), reports_(link_) {}

    void SetUp() override { ASSERT_TRUE(link_.FindDevice()); }

    PlaybackContext Context() {
        return {reports_,
                flags_,
                settings_,
                applied_,
                store_,
                launcher_,
                time_,
                time_,
                config_,
                profile_,
                [this] { ++repaints_; },
                [this](WriteResult) { ++notSaved_; }};
    }

    // Each report as hex, bytes 1..7 (byte 0 is always 7 once anything was sent).
    std::vector<std::string> Sent() const {
        std::vector<std::string> out;
        for (const auto& r : mouse_.Reports()) {
            out.push_back(Trace::HexBytes(std::span<const uint8_t>(r.bytes).subspan(1)));
        }
        return out;
    }

    SimulatedMouse mouse_;
    DeviceLink link_;
    FeatureReport reports_;
    PlaybackFlags flags_;
    ProfileSettings settings_;
    AppliedState applied_;
    MacroStore store_;
    RecordingLauncher launcher_;
    FakeTime time_;
    test::TempFolder folder_;
    std::filesystem::path config_ = folder_ / "config.ini";
    Relaxed<int32_t> profile_{3};
    int repaints_ = 0;
    int notSaved_ = 0;
};

MacroSlot Macro(std::initializer_list<std::array<int, 3>> events) {
    MacroSlot slot;
    size_t k = 0;
    for (const auto& e : events) {
        slot.SetEvent(k++, static_cast<uint8_t>(e[0]), static_cast<uint8_t>(e[1]), static_cast<uint16_t>(e[2]));
    }
    slot.SetEventCount(static_cast<uint8_t>(k));
    slot.SetRepeatCount(1);
    return slot;
}

const std::string kReleaseButtons = "16 00 ff 00 00 00 00";  // byte 2 left by the key report before
const std::string kReleaseKeys = "15 00 00 00 00 00 00";

TEST_F(PlaybackTest, NormalMacroSendsEventsThenTheTwoReleasesAtTheirDeadlines) {
    store_.User(0) = Macro({{0x04, 1, 100}, {0x04, 2, 0}});
    settings_.buttonFunction[1] = 41;  // button 1 is device number 3
    time_.overshoot = milliseconds(1);
    MacroPlayer player(Context());
    player.ServeTrigger(0xF3);

    EXPECT_EQ(Sent(), (std::vector<std::string>{"15 04 00 00 00 00 00", kReleaseKeys, kReleaseButtons, kReleaseKeys}));
    // Sent at 0, 101, 127, 138: each pause counts from the previous send, a delay of 0 plays
    // as 15 ms, and the release waits 10 ms more, twice.
    EXPECT_EQ(time_.deadlines, (std::vector<long long>{100, 101 + 15 + 10, 127 + 10}));
}

TEST_F(PlaybackTest, PassCounts) {
    struct Case {
        bool user;
        int32_t macroMode;
        uint8_t repeatOn;
        uint16_t repeatCount;
        int passes;
    };
    const Case cases[] = {
        {true, 0, 0, 5, 1},     {true, 0, 1, 3, 3},     {true, 0, 1, 0, 0},  {true, 0, 7, 65535, 65535},
        {true, 1, 0, 1, 10000}, {true, 1, 1, 3, 10000}, {false, 1, 1, 3, 1}, {false, 0, 1, 0, 1},
    };
    MacroPlayer player(Context());
    for (const Case& c : cases) {
        MacroSlot slot;
        slot.SetRepeatOn(c.repeatOn);
        slot.SetRepeatCount(c.repeatCount);
        settings_.macroMode = c.macroMode;
        EXPECT_EQ(player.PassCount(slot, c.user), c.passes) << c.user << c.macroMode << int(c.repeatOn);
    }
}

TEST_F(PlaybackTest, RepeatZeroSendsNothingAndEmptyMacroSendsOnlyReleases) {
    store_.User(0) = Macro({{0x04, 1, 20}});
    store_.User(0).SetRepeatOn(1);
    store_.User(0).SetRepeatCount(0);
    settings_.buttonFunction[0] = 41;
    MacroPlayer player(Context());
    player.ServeTrigger(0xF1);
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(time_.deadlines.empty());

    store_.User(1) = Macro({});
    store_.User(1).SetRepeatOn(1);
    store_.User(1).SetRepeatCount(2);
    settings_.buttonFunction[0] = 42;
    time_.now += milliseconds(1000);
    player.ServeTrigger(0xF1);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"16 00 ff 00 00 00 00", kReleaseKeys, kReleaseButtons, kReleaseKeys}));
    EXPECT_EQ(time_.deadlines, (std::vector<long long>{1010, 1020, 1030, 1040}));
}

TEST_F(PlaybackTest, DelaysBelowFifteenPlayAsFifteen) {
    store_.Constant(2) =
        Macro({{0x05, 1, 0}, {0x05, 2, 1}, {0x06, 1, 14}, {0x06, 2, 15}, {0x07, 1, 16}, {0x07, 2, 300}});
    settings_.buttonFunction[0] = 33;
    MacroPlayer player(Context());
    player.ServeTrigger(0xF1);
    EXPECT_EQ(time_.deadlines, (std::vector<long long>{15, 30, 45, 60, 76, 386, 396}));
    EXPECT_EQ(Sent().size(), 8u);
}

TEST_F(PlaybackTest, HeldKeysAndMouseButtons) {
    MacroPlayer player(Context());
    for (uint8_t key = 0x04; key <= 0x0A; ++key) {  // seven presses: the seventh is not held
        player.SendMacroEvent(key, 1);
    }
    player.SendMacroEvent(0x30, 2);  // not held: the last entry is cleared all the same
    player.SendMacroEvent(0x05, 2);  // held: the later ones move forward
    player.SendMacroEvent(0x04, 3);  // unknown action: unchanged, still sent
    player.SendMacroEvent(0xF1, 1);
    player.SendMacroEvent(0xF2, 1);
    player.SendMacroEvent(0xF0, 1);
    player.SendMacroEvent(0xF3, 1);  // beyond the three buttons: mask unchanged
    player.SendMacroEvent(0xFF, 2);
    player.SendMacroEvent(0xF0, 4);
    player.SendMacroEvent(0xF1, 2);
    EXPECT_EQ(Sent(),
              (std::vector<std::string>{
                  "15 04 00 00 00 00 00", "15 04 05 00 00 00 00", "15 04 05 06 00 00 00", "15 04 05 06 07 00 00",
                  "15 04 05 06 07 08 00", "15 04 05 06 07 08 09", "15 04 05 06 07 08 09", "15 04 05 06 07 08 00",
                  "15 04 06 07 08 00 00", "15 04 06 07 08 00 00",
                  // Byte 2 is the first held key the last key report left behind.
                  "16 04 fd 07 08 00 00", "16 04 f9 07 08 00 00", "16 04 f8 07 08 00 00", "16 04 f8 07 08 00 00",
                  "16 04 f8 07 08 00 00", "16 04 f8 07 08 00 00", "16 04 fa 07 08 00 00"}));
    player.ReleaseMacroKeys();
    EXPECT_EQ(player.MouseButtonMask(), 0xFF);
    EXPECT_EQ(player.HeldKeys(), (std::array<uint8_t, 6>{}));
    const auto sent = Sent();
    EXPECT_EQ(sent[sent.size() - 2], "16 04 ff 07 08 00 00");
    EXPECT_EQ(sent.back(), kReleaseKeys);
}

TEST_F(PlaybackTest, StopRequestEndsTheMacroAtTheEndOfThePass) {
    store_.User(3) = Macro({{0x04, 1, 20}, {0x04, 2, 20}});
    settings_.buttonFunction[2] = 44;
    settings_.macroMode = 1;  // hold mode: up to 10000 passes
    // The release arrives during the second pass, on its first pause.
    time_.onSleep = [this](size_t sleeps) {
        if (sleeps == 5) {
            flags_.StopRequest = 1;
        }
    };
    MacroPlayer player(Context());
    player.ServeTrigger(0xF2);
    EXPECT_EQ(Sent().size(), 8u);  // two whole passes of two events and two releases
    EXPECT_EQ(Sent().back(), kReleaseKeys);
}

TEST_F(PlaybackTest, EndingTheThreadCutsALongPauseAndStillReleases) {
    const MacroSlot slot = Macro({{0x04, 1, 1000}, {0x05, 1, 1000}});
    SleepInterrupt abort;
    time_.onSleep = [&](size_t sleeps) {
        if (sleeps == 1) {
            time_.now -= milliseconds(700);  // the raise comes 300 ms into the pause
            abort.Raise();
        }
    };
    MacroPlayer player(Context());
    player.SetAbort(&abort);
    player.PlayMacro(slot, 5);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"15 04 00 00 00 00 00", "16 04 ff 00 00 00 00", kReleaseKeys}));
    // The releases keep their own pauses, counted from the cut.
    EXPECT_EQ(time_.deadlines, (std::vector<long long>{1000, 310, 320}));
}

TEST_F(PlaybackTest, EndingTheThreadCutsThePauseAfterAPassesLastEvent) {
    const MacroSlot slot = Macro({{0x04, 1, 20}, {0x04, 2, 5000}});
    SleepInterrupt abort;
    time_.onSleep = [&](size_t sleeps) {
        if (sleeps == 2) {
            time_.now -= milliseconds(4700);
            abort.Raise();
        }
    };
    MacroPlayer player(Context());
    player.SetAbort(&abort);
    player.PlayMacro(slot, 3);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"15 04 00 00 00 00 00", kReleaseKeys, kReleaseButtons, kReleaseKeys}));
    EXPECT_EQ(time_.deadlines, (std::vector<long long>{20, 20 + 5000 + 10, 330 + 10, 340 + 10}));
}

TEST_F(PlaybackTest, DispatchOfOtherFunctions) {
    struct Case {
        int32_t code;
        std::vector<std::string> sent;
        std::vector<Program> launched;
    };
    const Case cases[] = {
        {21, {"17 02 23 00 00 00 00"}, {}},
        {24, {"17 00 e9 00 00 00 00"}, {}},
        {30, {"17 01 92 00 00 00 00"}, {}},
        {39, {}, {Program::Calculator}},
        {40, {}, {Program::CommandPrompt}},
        {39 + 14, {}, {}},  // beyond the user macros
        {1, {}, {}},
        {0, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        mouse_.ClearReports();
        launcher_.launched.clear();
        settings_.buttonFunction[5] = c.code;
        MacroPlayer player(Context());
        player.ServeTrigger(0xF6);
        EXPECT_EQ(Sent(), c.sent);
        EXPECT_EQ(launcher_.launched, c.launched);
    }
    EXPECT_EQ(ConsumerUsageForFunction(5), 0x00B6);
    EXPECT_EQ(ConsumerUsageForFunction(7), 0x00E2);
}

TEST_F(PlaybackTest, FollowsTheMousesDpiAndRateChangesWithoutSendingAnything) {
    settings_.buttonFunction[3] = 15;
    applied_.DpiReportFlag[3] = 1;
    settings_.buttonFunction[4] = 14;
    applied_.RateCycleFlag[4] = 1;
    settings_.reportRate = 3;
    flags_.InputBuffer[2] = 2;
    MacroPlayer player(Context());
    player.ServeTrigger(0xF5);  // button 3
    EXPECT_EQ(settings_.dpiLevel, 2);
    EXPECT_EQ(ini::Read(config_, "Config3", "DPI_LEVEL", 10), "2");
    player.ServeTrigger(0xF4);  // button 4
    EXPECT_EQ(settings_.reportRate, 0);
    EXPECT_EQ(ini::Read(config_, "Config3", "USB_SPEED", 10), "0");
    EXPECT_EQ(repaints_, 2);
    EXPECT_EQ(notSaved_, 0);
    EXPECT_TRUE(Sent().empty());

    // A config.ini that cannot be written: the change still shows, and the loss is told.
    std::filesystem::remove(config_);
    std::filesystem::create_directory(config_);
    player.ServeTrigger(0xF5);
    player.ServeTrigger(0xF4);
    EXPECT_EQ(settings_.reportRate, 1);
    EXPECT_EQ(repaints_, 4);
    EXPECT_EQ(notSaved_, 2);
}

TEST_F(PlaybackTest, AReportedDpiLevelOutsideZeroToThreeIsIgnored) {
    settings_.buttonFunction[3] = 41;  // the level follows, and the macro still plays
    applied_.DpiReportFlag[3] = 1;
    store_.User(0) = Macro({});
    settings_.dpiLevel = 1;
    MacroPlayer player(Context());
    for (const uint8_t level : {4, 0x7F, 0xFF}) {
        flags_.InputBuffer[2] = level;
        player.ServeTrigger(0xF5);
        EXPECT_EQ(settings_.dpiLevel, 1) << int(level);
    }
    EXPECT_FALSE(std::filesystem::exists(config_));
    EXPECT_EQ(repaints_, 0);
    EXPECT_EQ(Sent().size(), 6u) << "three passes of the empty macro";
    flags_.InputBuffer[2] = 3;
    player.ServeTrigger(0xF5);
    EXPECT_EQ(settings_.dpiLevel, 3);
}

}  // namespace
}  // namespace orv
