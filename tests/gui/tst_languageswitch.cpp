// The language buttons over a session: the new language's skin read into the window's layout
// at its place in the switch, and what the switch tells the features that follow it.
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/Trace.h"
#include "common/Utf.h"
#include "fakes/RecordingMessages.h"
#include "macro/MacroFile.h"
#include "session/Session.h"
#include "skin/SkinLayout.h"
#include "PagesFixture.h"
#include "ui/LanguageSwitch.h"
#include "ui/WindowEvents.h"

using namespace orv;

namespace {

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::FILE* f = std::fopen(PathToUtf8(file).c_str(), "wb");
    QVERIFY(f != nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// Both languages' description files, each naming its language in main region 0; one user
// macro per language; the window's pages with the switch as their only feature.
struct Switching : testing::PagesFixture {
    Switching() {
        for (const auto& [folder, main, color, advanced, warning, label] :
             {std::tuple{"INI_EN", "skin_main_en.ini", "skin_color_en.ini", "skin_advance_en.ini", "LBWarning_en.ini",
                         "English"},
              std::tuple{"INI_CN", "skin_main.ini", "skin_color.ini", "skin_advance.ini", "LBWarning.ini", "中文"}}) {
            const auto dir = skin.SkinDirectory() / folder;
            WriteBytes(dir / main, std::string("[BUTTONPOS]\r\n0=1,2,3,4,") + label + ",\r\n");
            for (const char* file : {color, advanced, warning})
                WriteBytes(dir / file, "");
        }
        for (const auto& [file, name] : {std::pair{"Macro_EN.dat", u"English"}, std::pair{"Macro_CN.dat", u"中文"}}) {
            MacroStore store;
            store.User(0).SetName(name);
            store.macroCount = 1;
            SaveMacroFile(Dir() / file, store);
        }
        WriteBytes(Dir() / "config.ini", "[Init]\r\nVER_SEL=0\r\n");
        session.LoadConfiguration();
        session.LoadMacros();
        messages.shown.clear();
        events.OnUserMacrosReplaced([this] { heard.push_back("replaced " + Utf16ToUtf8(macros.User(0).name())); });
        events.OnLanguageChanged([this](Language language) {
            heard.push_back(std::string(language.IsEnglish() ? "english " : "chinese ") + layout.MainRegions[0].label);
        });
    }

    std::filesystem::path Dir() const { return skin.AppDirectory(); }

    LanguageSwitch languageSwitch{Context()};
    std::vector<std::string> heard;
};

}  // namespace

class LanguageSwitchTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void eachSwitchReadsItsSkinAndMacrosThenTellsTheFeatures();
    void theButtonsSwitchOnceUnsavedWorkIsSettled();
    void aMissingSkinFileEndsTheSwitch();
    void anUnreadableMacroFileIsSaidInTheNewLanguage();
};

void LanguageSwitchTest::eachSwitchReadsItsSkinAndMacrosThenTellsTheFeatures() {
    Switching s;
    s.languageSwitch.SwitchToEnglish();
    s.languageSwitch.SwitchToChinese();
    s.languageSwitch.SwitchToChinese();  // the active language's button reloads all the same
    QCOMPARE(s.heard, (std::vector<std::string>{"replaced English", "english English", "replaced 中文", "chinese 中文",
                                                "replaced 中文", "chinese 中文"}));
    QVERIFY(s.messages.shown.empty());
}

// A guard that says no (the user cancelled a question about unsaved macros) keeps the language.
void LanguageSwitchTest::theButtonsSwitchOnceUnsavedWorkIsSettled() {
    Switching s;
    bool settled = false;
    s.events.GuardUnsavedWork([&settled] { return settled; });
    s.Click(s.MainCentre(orv::region::main::kEnglish));
    QVERIFY(s.heard.empty());
    settled = true;
    s.Click(s.MainCentre(orv::region::main::kEnglish));
    QCOMPARE(s.heard, (std::vector<std::string>{"replaced English", "english English"}));
}

void LanguageSwitchTest::aMissingSkinFileEndsTheSwitch() {
    Switching s;
    std::filesystem::remove(s.skin.SkinDirectory() / "INI_EN" / "skin_advance_en.ini");
    s.languageSwitch.SwitchToEnglish();
    QVERIFY(s.heard.empty());
    QCOMPARE(s.log.Operations(), std::vector<std::string>{"ExitDriver"});
    QCOMPARE(s.messages.shown.size(), size_t(1));
    QCOMPARE(s.messages.shown[0], (std::pair<std::string, std::string>{"ORV_GMouse", "找不到配置文件"}));
    QCOMPARE(s.macros.User(0).name(), std::u16string(u"中文"));
}

void LanguageSwitchTest::anUnreadableMacroFileIsSaidInTheNewLanguage() {
    Switching s;
    std::filesystem::remove(s.Dir() / "Macro_EN.dat");
    std::filesystem::create_directory(s.Dir() / "Macro_EN.dat");  // a folder cannot be read as a file
    s.languageSwitch.SwitchToEnglish();
    QCOMPARE(s.messages.shown.size(), size_t(1));
    QCOMPARE(s.messages.shown[0].second, "Cannot read the file:\n" + PathToUtf8(s.Dir() / "Macro_EN.dat"));
    QCOMPARE(s.heard.back(), std::string("english English"));
    QCOMPARE(s.macros.User(0).name(), std::u16string(u"中文"));
}

QTEST_MAIN(LanguageSwitchTest)
#include "tst_languageswitch.moc"
