#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "common/IniFile.h"
#include "common/TempFolder.h"
#include "common/Trace.h"
#include "device/SimulatedMouse.h"
#include "fakes/RecordingMessages.h"
#include "macro/MacroFile.h"
#include "session/Session.h"

namespace orv {
namespace {

using namespace std::chrono_literals;

MacroStore Macros(std::u16string_view name, int count) {
    MacroStore store;
    for (int i = 0; i < count; ++i) {
        store.User(i).SetName(name);
        store.User(i).SetEvent(0, static_cast<uint8_t>(0x04 + i), 1, 20);
        store.User(i).SetEvent(1, static_cast<uint8_t>(0x04 + i), 2, 20);
        store.User(i).SetEventCount(2);
    }
    store.macroCount = static_cast<int16_t>(count);
    return store;
}

class SwitchLanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SaveMacroFile(folder_ / "Macro_EN.dat", Macros(u"English", 2)));
        ASSERT_TRUE(SaveMacroFile(folder_ / "Macro_CN.dat", Macros(u"中文", 3)));
        ASSERT_TRUE(SaveMacroFile(folder_ / "constMacro.dat", Macros(u"Constant", 1)));
        test::WriteBytes(folder_ / "config.ini", "[Init]\r\nCurConfig=1\r\nVER_SEL=0\r\n");
        session_ = std::make_unique<Session>(SessionFolders{folder_.Path(), folder_ / "config.ini", folder_ / "skins"},
                                             true, trace_, messages_, [](std::function<void()> work) { work(); });
        session_->LoadConfiguration();
        ASSERT_TRUE(session_->LoadMacros().allPresent);
    }

    std::string VerSel() const { return ini::Read(folder_ / "config.ini", "Init", "VER_SEL", 5); }

    test::TempFolder folder_;
    Trace trace_{stdout, false, false};
    test::RecordingMessages messages_;
    std::unique_ptr<Session> session_;
};

// The skin is read after the choice is stored and before the macros change, and macros
// recorded in one language are not seen in the other.
TEST_F(SwitchLanguageTest, EachLanguageShowsTheMacrosOfItsOwnFile) {
    MacroStore& store = session_->Macros();
    ASSERT_EQ(store.User(0).name(), u"中文");
    store.User(2).SetName(u"Recorded, unsaved");

    std::string verSelAtSkin;
    std::u16string macroAtSkin;
    const LanguageSwitchResult english = session_->SwitchLanguage(Language::English(), [&] {
        verSelAtSkin = VerSel();
        macroAtSkin = store.User(0).name();
        return true;
    });
    EXPECT_TRUE(english.skinLoaded && english.languageSaved && english.faults.empty());
    EXPECT_EQ(verSelAtSkin, "1");
    EXPECT_EQ(macroAtSkin, u"中文");
    EXPECT_EQ(session_->CurrentLanguage(), Language::English());
    EXPECT_EQ(store.userMacroFile, folder_ / "Macro_EN.dat");
    EXPECT_EQ(store.macroCount.load(), 2);
    EXPECT_EQ(store.selectedMacro.load(), 1);
    EXPECT_EQ(store.User(0).name(), u"English");
    EXPECT_EQ(store.Constant(0).name(), u"Constant");

    session_->SwitchLanguage(Language::Chinese(), [] { return true; });
    EXPECT_EQ(VerSel(), "0");
    EXPECT_EQ(store.userMacroFile, folder_ / "Macro_CN.dat");
    EXPECT_EQ(store.macroCount.load(), 3);
    EXPECT_EQ(store.User(2).name(), u"中文") << "the file's, not the unsaved edit";

    // The active language's button reloads all the same.
    store.User(0).SetName(u"Edited");
    int skinReads = 0;
    session_->SwitchLanguage(Language::Chinese(), [&] { return ++skinReads > 0; });
    EXPECT_EQ(skinReads, 1);
    EXPECT_EQ(store.User(0).name(), u"中文");
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(SwitchLanguageTest, AMissingSkinFileStopsBeforeTheMacros) {
    const LanguageSwitchResult result = session_->SwitchLanguage(Language::English(), [] { return false; });
    EXPECT_FALSE(result.skinLoaded);
    EXPECT_EQ(VerSel(), "1");
    EXPECT_EQ(session_->Macros().User(0).name(), u"中文");
    EXPECT_EQ(session_->Macros().userMacroFile, folder_ / "Macro_CN.dat");
}

TEST_F(SwitchLanguageTest, AMissingOrUnreadableMacroFileOfTheLanguage) {
    std::filesystem::remove(folder_ / "Macro_EN.dat");
    LanguageSwitchResult result = session_->SwitchLanguage(Language::English(), [] { return true; });
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].second, "找不到配置文件");
    ASSERT_EQ(result.faults.size(), 1u);
    EXPECT_EQ(result.faults[0].kind, FileFault::Kind::Missing);
    EXPECT_EQ(session_->Macros().macroCount.load(), 0) << "a missing file has no macros";

    session_->SwitchLanguage(Language::Chinese(), [] { return true; });
    test::MakeUnreadable(folder_ / "Macro_EN.dat");
    result = session_->SwitchLanguage(Language::English(), [] { return true; });
    ASSERT_EQ(result.faults.size(), 1u);
    EXPECT_EQ(result.faults[0].kind, FileFault::Kind::Unreadable);
    EXPECT_EQ(result.faults[0].file, folder_ / "Macro_EN.dat");
    EXPECT_EQ(session_->Macros().macroCount.load(), 3) << "nothing read, nothing changed";
}

// Playback copies the slot it plays under the store's lock; the switch and the reset replace
// the user macros under it too, so a thread checker sees no race here.
TEST_F(SwitchLanguageTest, MacrosAreReplacedWhilePlaybackPlaysThem) {
    std::filesystem::create_directories(folder_ / "skins" / "INI_EN");
    ASSERT_TRUE(SaveMacroFile(folder_ / "skins" / "INI_EN" / "defMacro.dat", Macros(u"Factory", 2)));
    ASSERT_EQ(session_->FindDevice(), DeviceStatus::Ready);
    session_->Settings().buttonFunction[0] = 41;  // user macro 0
    session_->Settings().macroMode = 1;           // hold mode: it plays until the release
    session_->StartThreads();
    const uint8_t press[] = {6, 0xF1, 0};
    session_->SimulateInput(press);
    ASSERT_TRUE(session_->Simulated()->WaitForReports(2, 5s));

    for (int i = 0; i < 3; ++i) {
        session_->SwitchLanguage(i % 2 == 0 ? Language::English() : Language::Chinese(), [] { return true; });
        std::this_thread::sleep_for(30ms);
    }
    session_->RestoreDefaults();

    const uint8_t release[] = {6, 0xF1, 0x80};
    session_->SimulateInput(release);
    EXPECT_TRUE(session_->WaitUntilInputServed(SystemClock().Now() + 10s));
    EXPECT_EQ(session_->Macros().User(0).name(), u"Factory");
}

}  // namespace
}  // namespace orv
