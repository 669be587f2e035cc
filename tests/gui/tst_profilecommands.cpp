// The header's exchange and reset controls over a session on the simulated mouse: the file
// dialogs they open, what they refuse, and the question before the reset.
#include <QSignalSpy>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "FakeDialogs.h"
#include "PagesFixture.h"
#include "common/IniFile.h"
#include "common/Trace.h"
#include "common/Utf.h"
#include "device/SimulatedMouse.h"
#include "fakes/RecordingMessages.h"
#include "macro/MacroFile.h"
#include "session/Session.h"
#include "settings/ConfigFile.h"
#include "ui/ProfileCommands.h"
#include "ui/QtUserDialogs.h"
#include "ui/WindowEvents.h"

using namespace orv;
using orv::testing::FakeDialogs;

namespace {

std::string ReadBytes(const std::filesystem::path& file) {
    std::FILE* f = std::fopen(PathToUtf8(file).c_str(), "rb");
    std::string bytes;
    if (f == nullptr)
        return bytes;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        bytes.append(buffer, n);
    std::fclose(f);
    return bytes;
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::FILE* f = std::fopen(PathToUtf8(file).c_str(), "wb");
    QVERIFY(f != nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

MacroStore Macros(std::u16string_view name, int count) {
    MacroStore store;
    for (int i = 0; i < count; ++i)
        store.User(i).SetName(name);
    store.macroCount = static_cast<int16_t>(count);
    return store;
}

// The window's pages over a session on the simulated mouse, with the commands as their only
// feature.
struct Commands : testing::PagesFixture {
    explicit Commands(const char* verSel) {
        WriteBytes(Dir() / "config.ini", std::string("[Init]\r\nCurConfig=2\r\nVER_SEL=") + verSel +
                                             "\r\n[Config2]\r\nK0=1\r\nFIRE_TIME=40\r\n[CfgReset2]\r\nK0=1\r\n"
                                             "FIRE_TIME=123\r\n");
        SaveMacroFile(Dir() / "Macro_EN.dat", Macros(u"Mine", 2));
        SaveMacroFile(Dir() / "Macro_CN.dat", Macros(u"我的", 2));
        std::filesystem::create_directories(Dir() / "skins" / "INI_EN");
        std::filesystem::create_directories(Dir() / "skins" / "INI_CN");
        SaveMacroFile(Dir() / "skins" / "INI_EN" / "defMacro.dat", Macros(u"Factory", 3));
        SaveMacroFile(Dir() / "skins" / "INI_CN" / "defMacro.dat", Macros(u"出厂", 3));
        session.LoadConfiguration();
        session.LoadMacros();
        messages.shown.clear();  // no constMacro.dat here
        session.FindDevice();
    }

    std::filesystem::path Dir() const { return skin.AppDirectory(); }
    std::vector<std::string> Shown() const {
        std::vector<std::string> texts;
        for (const auto& [caption, text] : messages.shown)
            texts.push_back(caption + ": " + text);
        return texts;
    }

    ProfileCommands commands{Context()};
};

}  // namespace

class ProfileCommandsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void exportThenImportRestoresEveryFieldAndKeepsTheProfile();
    void cancelledDialogsChangeNothing();
    void aFileWithoutAProfileIsRefusedInTheLanguage_data();
    void aFileWithoutAProfileIsRefusedInTheLanguage();
    void filesThatCannotBeReadOrWrittenAreSaid();
    void resetAsksFirstAndNoChangesNothing();
    void resetReplacesTheMacrosAndTellsTheWindow();
    void windowsFiltersBecomeQtNameFilters();
};

void ProfileCommandsTest::exportThenImportRestoresEveryFieldAndKeepsTheProfile() {
    Commands c("1");
    ProfileSettings& settings = c.session.Settings();
    settings.buttonFunction[3] = 44;
    settings.macroMode = 1;
    settings.fireTime = 296;
    settings.ledStatus = 2;
    const auto exported = ProfileKeyValues(settings);
    const std::string config = ReadBytes(c.Dir() / "config.ini");
    c.dialogs.chosenFile = c.Dir() / "moved.ini";

    c.commands.ExportProfile();
    QCOMPARE(c.dialogs.opened.size(), size_t(1));
    QCOMPARE(c.dialogs.opened[0].kind, std::string("save"));
    QCOMPARE(c.dialogs.opened[0].options.filter, std::string("All Files(*.ini)|*.ini||"));
    QCOMPARE(c.dialogs.opened[0].options.initialFolder, c.Dir());
    QCOMPARE(c.dialogs.opened[0].options.defaultExtension, std::string("ini"));
    QCOMPARE(ini::Read(c.Dir() / "moved.ini", "Config7", "K3", 5), std::string("44"));

    SetFactorySettings(settings);
    settings.macroMode = 0;
    c.commands.ImportProfile();
    QCOMPARE(c.dialogs.opened[1].kind, std::string("open"));
    QCOMPARE(c.dialogs.opened[1].options.filter, std::string("All Files(*.ini)|*.ini||"));
    QCOMPARE(c.dialogs.opened[1].options.initialFolder, c.Dir());
    QCOMPARE(c.dialogs.opened[1].options.defaultExtension, std::string());
    QVERIFY(ProfileKeyValues(settings) == exported);
    QCOMPARE(c.session.CurrentProfile().load(), 2);
    QCOMPARE(ReadBytes(c.Dir() / "config.ini"), config);  // import takes effect with the next apply
    QVERIFY(c.session.Simulated()->Reports().empty());
    QVERIFY(c.messages.shown.empty());
    QCOMPARE(c.log.calls, (std::vector<std::string>{"Repaint", "Repaint"}));
}

void ProfileCommandsTest::cancelledDialogsChangeNothing() {
    Commands c("1");
    const auto before = ProfileKeyValues(c.session.Settings());
    c.commands.ExportProfile();
    c.commands.ImportProfile();
    QCOMPARE(c.dialogs.opened.size(), size_t(2));
    QVERIFY(ProfileKeyValues(c.session.Settings()) == before);
    QVERIFY(c.messages.shown.empty());
    QVERIFY(c.log.calls.empty());
}

void ProfileCommandsTest::aFileWithoutAProfileIsRefusedInTheLanguage_data() {
    QTest::addColumn<QByteArray>("verSel");
    QTest::addColumn<QString>("text");
    QTest::newRow("english") << QByteArray("1") << QStringLiteral("This file holds no profile:");
    QTest::newRow("chinese") << QByteArray("0") << QStringLiteral("该文件中没有配置：");
}

// config.ini itself is such a file: read as an exchange file it would give every field zero.
void ProfileCommandsTest::aFileWithoutAProfileIsRefusedInTheLanguage() {
    QFETCH(QByteArray, verSel);
    QFETCH(QString, text);
    Commands c(verSel.constData());
    c.session.Settings().fireTime = 296;
    const auto before = ProfileKeyValues(c.session.Settings());
    c.dialogs.chosenFile = c.Dir() / "config.ini";

    c.commands.ImportProfile();

    QVERIFY(ProfileKeyValues(c.session.Settings()) == before);
    const std::string expected = "ORV_GMouse: " + text.toStdString() + "\n" + PathToUtf8(c.Dir() / "config.ini");
    QCOMPARE(c.Shown(), std::vector<std::string>{expected});
}

void ProfileCommandsTest::filesThatCannotBeReadOrWrittenAreSaid() {
    Commands c("1");
    const auto before = ProfileKeyValues(c.session.Settings());
    c.dialogs.chosenFile = c.Dir() / "missing" / "moved.ini";
    c.commands.ExportProfile();
    c.commands.ImportProfile();
    const std::string path = PathToUtf8(c.Dir() / "missing" / "moved.ini");
    QCOMPARE(c.Shown(), (std::vector<std::string>{"ORV_GMouse: Cannot write the file:\n" + path,
                                                  "ORV_GMouse: Cannot read the file:\n" + path}));
    QVERIFY(ProfileKeyValues(c.session.Settings()) == before);
}

// One click would overwrite five profiles and the user's macros for good.
void ProfileCommandsTest::resetAsksFirstAndNoChangesNothing() {
    Commands c("0");
    const std::string config = ReadBytes(c.Dir() / "config.ini");
    const std::string macros = ReadBytes(c.Dir() / "Macro_CN.dat");
    c.dialogs.answerYes = false;

    c.commands.RestoreDefaults();

    QCOMPARE(c.dialogs.opened.size(), size_t(1));
    QCOMPARE(c.dialogs.opened[0].kind, std::string("question"));
    QCOMPARE(c.dialogs.opened[0].caption, std::string("ORV_GMouse"));
    QCOMPARE(c.dialogs.opened[0].language, Language::Chinese());
    QCOMPARE(QString::fromStdString(c.dialogs.opened[0].text),
             QStringLiteral("恢复出厂设置？全部五个配置和本语言的用户宏都将被覆盖。"));
    QCOMPARE(ReadBytes(c.Dir() / "config.ini"), config);
    QCOMPARE(ReadBytes(c.Dir() / "Macro_CN.dat"), macros);
    QCOMPARE(c.session.Settings().fireTime.load(), 40);
    QVERIFY(c.session.Simulated()->Reports().empty());
}

void ProfileCommandsTest::resetReplacesTheMacrosAndTellsTheWindow() {
    Commands c("1");
    std::vector<std::string> seen;
    c.events.OnUserMacrosReplaced(
        [&] { seen.push_back("replaced " + Utf16ToUtf8(c.session.Macros().User(0).name())); });

    c.commands.RestoreDefaults();

    QCOMPARE(c.dialogs.opened[0].text,
             std::string("Restore the factory settings? All five profiles and the user macros of this language "
                         "will be overwritten."));
    QCOMPARE(seen, std::vector<std::string>{"replaced Factory"});
    QCOMPARE(c.session.Settings().fireTime.load(), 123);  // CfgReset2: profile 2 is current
    QCOMPARE(c.session.Simulated()->Reports().size(), size_t(13));
    QVERIFY(c.messages.shown.empty());
    QCOMPARE(c.log.calls, (std::vector<std::string>{"ApplyProfile", "Repaint"}));

    // Without its factory file the user's macros stay, and only the macro files' message shows.
    std::filesystem::remove(c.Dir() / "skins" / "INI_EN" / "defMacro.dat");
    SaveMacroFile(c.Dir() / "Macro_EN.dat", Macros(u"Mine again", 1));
    const std::string macros = ReadBytes(c.Dir() / "Macro_EN.dat");
    c.commands.RestoreDefaults();
    QCOMPARE(c.Shown(), std::vector<std::string>{"ORV_GMouse: 找不到配置文件"});
    QCOMPARE(ReadBytes(c.Dir() / "Macro_EN.dat"), macros);
    QCOMPARE(seen.size(), size_t(1));
}

void ProfileCommandsTest::windowsFiltersBecomeQtNameFilters() {
    QCOMPARE(QtNameFilters("All Files(*.ini)|*.ini||"), QStringLiteral("All Files(*.ini)"));
    QCOMPARE(QtNameFilters("Macros|*.dat;*.txt|Everything (*.*)|*.*||"),
             QStringLiteral("Macros (*.dat *.txt);;Everything (*.*)"));
}

QTEST_MAIN(ProfileCommandsTest)
#include "tst_profilecommands.moc"
