// Files edited by hand with every field out of range go through every reader and user of their
// values without reading outside a table (the sanitizer stage of CI runs this too).
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "common/HandEditedFiles.h"
#include "common/TempFolder.h"
#include "common/Trace.h"
#include "device/FeatureReport.h"
#include "device/SimulatedMouse.h"
#include "fakes/RecordingMessages.h"
#include "macro/MacroFile.h"
#include "session/Session.h"

namespace orv {
namespace {

using namespace std::chrono_literals;

TEST(HandEditedFiles, LoadApplyAndPlayWithEveryFieldOutOfRange) {
    test::TempFolder folder;
    test::WriteBytes(folder / "config.ini", test::OutOfRangeConfig());
    for (const char* file : {"Macro_CN.dat", "Macro_EN.dat", "constMacro.dat"}) {
        test::WriteBytes(folder / file, test::OutOfRangeMacroFile());
    }
    Trace trace(stdout, false, false);
    test::RecordingMessages messages;
    Session session({folder.Path(), folder / "config.ini", folder / "skins"}, true, trace, messages,
                    [](std::function<void()> work) { work(); });

    EXPECT_EQ(session.LoadConfiguration(), ProfileFound::Section);
    EXPECT_EQ(session.CurrentProfile().load(), 1) << "profile -7 does not exist";
    EXPECT_EQ(session.ChooseProfile(2), ProfileFound::Section);
    const Session::MacrosLoaded macros = session.LoadMacros();
    EXPECT_TRUE(macros.allPresent && macros.unreadable.empty());
    EXPECT_EQ(session.Macros().macroCount, MacroStore::kUserSlots);
    EXPECT_EQ(session.Macros().User(0).eventCount(), 255);
    EXPECT_EQ(session.Macros().User(0).name().size(), 20u) << "the whole field, no terminator";
    ASSERT_EQ(session.FindDevice(), DeviceStatus::Ready);

    const ApplyResult applied = session.ApplyProfile();
    EXPECT_EQ(applied.reportsFailed, 0);
    EXPECT_TRUE(applied.saved);

    // Every button pressed (hold mode: the release ends it), the DPI byte beyond the levels,
    // then codes no button has.
    session.StartThreads();
    for (const uint8_t button : DeviceButtonCode) {
        const uint8_t press[] = {6, static_cast<uint8_t>(0xF0 + button), 200};
        const uint8_t release[] = {6, static_cast<uint8_t>(0xF0 + button), 0x80};
        session.SimulateInput(press);
        session.SimulateInput(release);
        ASSERT_TRUE(session.WaitUntilInputServed(SystemClock().Now() + 120s)) << "button " << int(button);
    }
    for (const uint8_t code : {0xF0, 0xF7, 0xFF, 0x00}) {
        const uint8_t press[] = {6, code, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
        session.SimulateInput(press);
    }
    EXPECT_TRUE(session.WaitUntilInputServed(SystemClock().Now() + 120s));
    session.StopThreads();

    // What the load kept is what a save writes back, and a second load reads the same.
    const auto macroFile = folder / "Macro_resaved.dat";
    ASSERT_TRUE(SaveMacroFile(macroFile, session.Macros()));
    MacroStore reread;
    ASSERT_EQ(LoadMacroFile(macroFile, MacroTarget::User, reread, messages), ini::FileState::Read);
    for (int m = 0; m < MacroStore::kUserSlots; ++m) {
        EXPECT_EQ(reread.User(m).Bytes(), session.Macros().User(m).Bytes()) << "macro " << m;
    }
}

}  // namespace
}  // namespace orv
