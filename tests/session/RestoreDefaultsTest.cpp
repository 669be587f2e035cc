#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/IniFile.h"
#include "common/TempFolder.h"
#include "common/Trace.h"
#include "device/SimulatedMouse.h"
#include "fakes/RecordingMessages.h"
#include "macro/MacroFile.h"
#include "session/Session.h"
#include "settings/ConfigFile.h"

namespace orv {
namespace {

// Reset sections whose values tell them apart: K0 is 30 + n and the lighting mode n - 2.
std::string ResetSection(const std::string& name, int n) {
    return "[" + name + "]\r\nK0=" + std::to_string(30 + n) +
           "\r\nK1=3\r\nDPI_LEVEL=1\r\nMACRO_MODE2=1\r\nDPI_SET0=" + std::to_string(n) +
           "\r\nDPI_SET_EN0=1\r\nLED_STATUS=" + std::to_string(n - 2) + "\r\nFIRE_TIME=" + std::to_string(100 + n) +
           "\r\n";
}

std::string Config(int currentProfile, int verSel) {
    std::string text =
        "[Init]\r\nCurConfig=" + std::to_string(currentProfile) + "\r\nVER_SEL=" + std::to_string(verSel) + "\r\n";
    for (int n = 1; n <= 5; ++n) {
        text += "[Config" + std::to_string(n) + "]\r\nK0=9\r\nFIRE_TIME=999\r\nMACRO_MODE2=1\r\n";
    }
    for (int n = 2; n <= 5; ++n) {
        text += ResetSection("CfgReset" + std::to_string(n), n);
    }
    return text + ResetSection("CfgReset_EN5", 7);
}

MacroStore Macros(std::u16string_view name, int count) {
    MacroStore store;
    for (int i = 0; i < count; ++i) {
        store.User(i).SetName(name);
        store.User(i).SetEvent(0, 0x04, 1, static_cast<uint16_t>(10 + i));
        store.User(i).SetEventCount(1);
    }
    store.macroCount = static_cast<int16_t>(count);
    return store;
}

std::vector<std::vector<uint8_t>> Sent(Session& session) {
    std::vector<std::vector<uint8_t>> bytes;
    for (const auto& report : session.Simulated()->Reports()) {
        bytes.push_back(report.bytes);
    }
    return bytes;
}

class RestoreDefaultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(folder_ / "skins" / "INI_EN");
        std::filesystem::create_directories(folder_ / "skins" / "INI_CN");
        ASSERT_TRUE(SaveMacroFile(folder_ / "skins" / "INI_EN" / "defMacro.dat", Macros(u"Factory EN", 2)));
        ASSERT_TRUE(SaveMacroFile(folder_ / "skins" / "INI_CN" / "defMacro.dat", Macros(u"Factory CN", 3)));
        ASSERT_TRUE(SaveMacroFile(folder_ / "Macro_EN.dat", Macros(u"Mine EN", 4)));
        ASSERT_TRUE(SaveMacroFile(folder_ / "Macro_CN.dat", Macros(u"Mine CN", 5)));
    }

    std::unique_ptr<Session> Started(int currentProfile, int verSel) {
        test::WriteBytes(Path("config.ini"), Config(currentProfile, verSel));
        auto session = std::make_unique<Session>(SessionFolders{folder_.Path(), Path("config.ini"), Path("skins")},
                                                 true, trace_, messages_, [](std::function<void()> work) { work(); });
        session->LoadConfiguration();
        session->LoadMacros();
        messages_.shown.clear();  // constMacro.dat is not needed here
        EXPECT_EQ(session->FindDevice(), DeviceStatus::Ready);
        return session;
    }

    std::filesystem::path Path(const std::string& name) const { return folder_ / name; }

    // What a section of config.ini reads as, in the saved order.
    std::vector<std::pair<std::string, std::string>> Section(int n, bool reset = false, Language language = {}) {
        ProfileSettings s;
        EXPECT_EQ(LoadProfile(Path("config.ini"), n, reset, language, s), ProfileFound::Section) << n;
        return ProfileKeyValues(s);
    }

    test::TempFolder folder_;
    Trace trace_{stdout, false, false};
    test::RecordingMessages messages_;
};

TEST_F(RestoreDefaultsTest, ResetsEveryProfileThenSendsTheCurrentOnesResetValues) {
    auto session = Started(3, 0);
    session->Settings().macroMode = 1;

    const RestoreResult result = session->RestoreDefaults();

    EXPECT_TRUE(result.profilesReset);
    EXPECT_TRUE(result.faults.empty());
    EXPECT_EQ(result.applied.reportsSent, 13);
    EXPECT_EQ(session->CurrentProfile().load(), 3);
    EXPECT_EQ(ProfileKeyValues(session->Settings()), Section(3, true)) << "the working settings are CfgReset3's";
    for (int n = 2; n <= 5; ++n) {
        EXPECT_EQ(Section(n), Section(n, true)) << "Chinese: CfgReset" << n;
    }
    ProfileSettings factory;
    SetFactorySettings(factory);
    factory.macroMode = 1;  // the one in memory is kept
    EXPECT_EQ(Section(1), ProfileKeyValues(factory));
    EXPECT_EQ(Section(6), Section(3, true));
    EXPECT_EQ(ini::Read(Path("config.ini"), "Init", "CurConfig", 5), "3");

    // The mouse got exactly what applying the reset profile 3 sends.
    Trace quiet{stdout, false, false};
    Session other(SessionFolders{folder_.Path(), Path("config.ini"), Path("skins")}, true, quiet, messages_,
                  [](std::function<void()> work) { work(); });
    ASSERT_EQ(other.FindDevice(), DeviceStatus::Ready);
    other.ChooseProfile(3);
    other.ApplyProfile();
    EXPECT_EQ(Sent(*session), Sent(other));
}

TEST_F(RestoreDefaultsTest, EnglishTakesItsProfile5AndItsFactoryMacrosIntoItsOwnFileOnly) {
    auto session = Started(5, 1);
    const std::string chineseMacros = test::ReadBytes(Path("Macro_CN.dat"));
    std::u16string nameWhenReplaced;
    const RestoreResult result = session->RestoreDefaults([&] { nameWhenReplaced = session->Macros().User(0).name(); });

    EXPECT_TRUE(result.faults.empty());
    EXPECT_EQ(Section(5), Section(5, true, Language::English()));
    EXPECT_EQ(ProfileKeyValues(session->Settings()), Section(5, true, Language::English()));
    EXPECT_EQ(session->Settings().buttonFunction[0].load(), 37) << "CfgReset_EN5";
    EXPECT_EQ(nameWhenReplaced, u"Factory EN");
    EXPECT_EQ(session->Macros().macroCount.load(), 2);

    MacroStore saved;
    ASSERT_EQ(LoadMacroFile(Path("Macro_EN.dat"), MacroTarget::User, saved, messages_), ini::FileState::Read);
    EXPECT_EQ(saved.macroCount.load(), 2);
    EXPECT_EQ(saved.User(1).name(), u"Factory EN");
    EXPECT_EQ(test::ReadBytes(Path("Macro_CN.dat")), chineseMacros);
}

// Saving an empty set over the user's macros would lose them for a file that was never there.
TEST_F(RestoreDefaultsTest, AMissingFactoryMacroFileKeepsTheUserMacrosAndTheirFile) {
    auto session = Started(2, 1);
    std::filesystem::remove(Path("skins/INI_EN/defMacro.dat"));
    const std::string before = test::ReadBytes(Path("Macro_EN.dat"));
    bool replaced = false;

    const RestoreResult result = session->RestoreDefaults([&] { replaced = true; });

    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].second, "找不到配置文件");
    ASSERT_EQ(result.faults.size(), 1u);
    EXPECT_EQ(result.faults[0].kind, FileFault::Kind::Missing);
    EXPECT_EQ(result.faults[0].file, Path("skins/INI_EN/defMacro.dat"));
    EXPECT_FALSE(replaced);
    EXPECT_EQ(test::ReadBytes(Path("Macro_EN.dat")), before);
    EXPECT_EQ(session->Macros().macroCount.load(), 4);
    EXPECT_EQ(session->Macros().User(3).name(), u"Mine EN");
    EXPECT_EQ(result.applied.reportsSent, 13) << "the profiles are reset and sent all the same";
    EXPECT_EQ(Section(2), Section(2, true));
}

TEST_F(RestoreDefaultsTest, AConfigFileThatCannotBeWrittenStopsBeforeMacrosAndMouse) {
    auto session = Started(2, 1);
    const auto before = ProfileKeyValues(session->Settings());
    const std::string macros = test::ReadBytes(Path("Macro_EN.dat"));
    test::MakeUnreadable(Path("config.ini"));

    const RestoreResult result = session->RestoreDefaults();

    EXPECT_FALSE(result.profilesReset);
    ASSERT_EQ(result.faults.size(), 1u);
    EXPECT_EQ(result.faults[0].file, Path("config.ini"));
    EXPECT_EQ(ProfileKeyValues(session->Settings()), before);
    EXPECT_EQ(session->Macros().User(0).name(), u"Mine EN");
    EXPECT_EQ(test::ReadBytes(Path("Macro_EN.dat")), macros);
    EXPECT_TRUE(session->Simulated()->Reports().empty());
}

}  // namespace
}  // namespace orv
