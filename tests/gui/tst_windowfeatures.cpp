// The window's own features, clicked through the real window over a session on the simulated
// mouse: the language buttons, the exchange and reset controls with their dialogs, and the
// colour page's preview.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FakeDialogs.h"
#include "SyntheticSkin.h"
#include "app/CORV_GMouseDlg.h"
#include "app/PostToEventLoop.h"
#include "app/TrayIcon.h"
#include "common/IniFile.h"
#include "common/Trace.h"
#include "common/Utf.h"
#include "fakes/RecordingMessages.h"
#include "macro/MacroFile.h"
#include "session/Session.h"
#include "skin/Regions.h"
#include "ui/MainWindowPages.h"
#include "ui/UiText.h"

using namespace orv;
using namespace orv::region;

namespace {

constexpr int kWaitMs = 30000;

// The header's regions 0..19 in a row of 14 x 9 cells, the import and add controls of the
// advanced page below them, the colour page's preview below those.
QPoint HeaderCentre(int region) { return {region * 12 + 5, 4}; }
const QPoint kImportMacros(15, 54);
const QPoint kAddMacro(35, 54);
const char* const kAdvanced = "[BUTTONPOS]\r\n0=10,50,11,9,,\r\n2=30,50,11,9,,\r\n";
const QRect kPreview(10, 100, 20, 20);

void Write(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::FILE* f = std::fopen(PathToUtf8(file).c_str(), "wb");
    QVERIFY(f != nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// Flat pictures, both languages' description files with the header laid out, one user macro
// per language.
struct Folder {
    explicit Folder(const char* verSel) {
        skin.WriteAllPictures();
        std::string header = "[BUTTONPOS]\r\n";
        for (int k = 0; k <= main::kLastHeader; ++k)
            header += std::to_string(k) + "=" + std::to_string(k * 12) + ",0,11,9,,\r\n";
        std::string color =
            "[BUTTONPOS]\r\n11=" + std::to_string(kPreview.x()) + "," + std::to_string(kPreview.y()) + ",20,20,,\r\n";
        for (const auto& [folder, suffix] : {std::pair{"INI_EN", "_en"}, std::pair{"INI_CN", ""}}) {
            const auto dir = skin.SkinDirectory() / folder;
            Write(dir / ("skin_main" + std::string(suffix) + ".ini"), header);
            Write(dir / ("skin_color" + std::string(suffix) + ".ini"), color);
            Write(dir / ("skin_advance" + std::string(suffix) + ".ini"), kAdvanced);
            Write(dir / ("LBWarning" + std::string(suffix) + ".ini"), "");
        }
        for (const auto& [file, name] : {std::pair{"Macro_EN.dat", u"English"}, std::pair{"Macro_CN.dat", u"中文"}}) {
            MacroStore store;
            store.User(0).SetName(name);
            store.macroCount = 1;
            SaveMacroFile(Dir() / file, store);
        }
        Write(Dir() / "constMacro.dat", "[Macros]\r\nmacroNum=0\r\n");
        Write(Dir() / "config.ini", std::string("[Init]\r\nCurConfig=1\r\nVER_SEL=") + verSel + "\r\n");
    }

    std::filesystem::path Dir() const { return skin.AppDirectory(); }
    SessionFolders Folders() const { return {Dir(), Dir() / "config.ini", skin.SkinDirectory()}; }

    testing::SyntheticSkin skin;
};

// A started window whose dialogs the test answers.
struct Window {
    explicit Window(const char* verSel) : folder(verSel) {
        session.ObserveSteps([this](SessionStep step) { applies += step == SessionStep::ApplyProfile; });
        auto fake = std::make_unique<testing::FakeDialogs>();
        dialogs = fake.get();
        dialog.UseDialogs(std::move(fake));
        started = dialog.StartUp();
        dialog.show();
    }

    void Click(QPoint point) { QTest::mouseClick(&dialog, Qt::LeftButton, {}, point); }
    template <typename Control>
    Control* Find(const char* name) const {
        return dialog.findChild<Control*>(QString::fromLatin1(name));
    }
    // A macro of this name added on the advanced page, as the user adds one.
    void AddMacro(const QString& name) {
        Click(HeaderCentre(main::kAdvancedTab));
        QTest::keyClicks(Find<QLineEdit>("MacroNameEdit"), name);
        Click(kAddMacro);
    }
    std::string VerSel() const { return ini::Read(folder.Dir() / "config.ini", "Init", "VER_SEL", 5); }
    std::string FirstMacro() { return Utf16ToUtf8(session.Macros().User(0).name()); }

    Folder folder;
    Trace trace{stdout, false, false};
    test::RecordingMessages messages;
    Session session{folder.Folders(), true, trace, messages, PostToEventLoop};
    int applies = 0;
    CORV_GMouseDlg dialog{session, messages};
    testing::FakeDialogs* dialogs = nullptr;
    bool started = false;
};

}  // namespace

class WindowFeaturesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void languageButtonsSwitchTheWholeWindow();
    void macroListsShowWhatTheLanguageAndTheResetLoad();
    void aMissingSkinFileOfTheNewLanguageEndsTheUtility();
    void profileControlsGoThroughTheWindowsDialogs();
    void macroEditsNotSavedAreAskedAboutFirst();
    void colourPageAnimatesUntilTheUtilityEnds();
};

void WindowFeaturesTest::languageButtonsSwitchTheWholeWindow() {
    Window w("0");
    QVERIFY(w.started);
    const QString chineseTitle = UiText(TextId::MainWindowTitle, Language::Chinese());
    QCOMPARE(w.dialog.Tray().Tip(), chineseTitle);

    w.Click(HeaderCentre(main::kEnglish));
    QCOMPARE(w.dialog.windowTitle(), QStringLiteral("TALVEN Q7 Gaming Mouse"));
    QCOMPARE(w.dialog.Tray().Tip(), chineseTitle);  // the tip keeps its first language
    QCOMPARE(w.dialog.Tray().Menu()->actions().at(1)->text(), QStringLiteral("Exit Driver"));
    QCOMPARE(w.VerSel(), std::string("1"));
    QCOMPARE(w.FirstMacro(), std::string("English"));
    QCOMPARE(w.dialog.Pages().TextFont(), w.dialog.Pages().Fonts().EnglishFont);

    w.Click(HeaderCentre(main::kChinese));
    QCOMPARE(w.dialog.windowTitle(), chineseTitle);
    QCOMPARE(w.dialog.Tray().Menu()->actions().at(1)->text(), UiText(TextId::ExitDriver, Language::Chinese()));
    QCOMPARE(w.VerSel(), std::string("0"));
    QCOMPARE(w.FirstMacro(), std::string("中文"));
    QCOMPARE(w.applies, 1);  // nothing is sent to the mouse
    QVERIFY(w.messages.shown.empty());
}

// The other language's macros, and the factory ones after a reset, replace what the advanced
// page's lists show; a set without macros leaves nothing of the one shown before.
void WindowFeaturesTest::macroListsShowWhatTheLanguageAndTheResetLoad() {
    Window w("0");
    QVERIFY(w.started);
    MacroStore english;
    english.User(0).SetName(u"Keys");
    english.User(0).SetEvent(0, 0x04, 1, 100);
    english.User(0).SetEvent(1, 0x04, 2, 0);
    english.User(0).SetEventCount(2);
    english.macroCount = 1;
    QVERIFY(SaveMacroFile(w.folder.Dir() / "Macro_EN.dat", english));
    Write(w.folder.skin.SkinDirectory() / "INI_EN" / "defMacro.dat", "[Macros]\r\nmacroNum=0\r\n");
    const auto lines = [](const QListWidget* list) {
        QStringList texts;
        for (int i = 0; list != nullptr && i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    };
    const auto list = [&w, &lines](const char* name) { return lines(w.Find<QListWidget>(name)); };

    w.Click(HeaderCentre(main::kAdvancedTab));
    QCOMPARE(list("MacroList"), QStringList{QStringLiteral("中文")});
    QVERIFY(list("EventList").isEmpty());

    w.Click(HeaderCentre(main::kEnglish));
    QCOMPARE(list("MacroList"), QStringList{QStringLiteral("Keys")});
    QCOMPARE(list("EventList"), (QStringList{"[↓]A", "    100ms", "[↑]A"}));
    QCOMPARE(w.Find<QLineEdit>("MacroNameEdit")->text(), QStringLiteral("Keys"));

    w.Click(HeaderCentre(main::kDefaults));
    QVERIFY(w.messages.shown.empty());
    QVERIFY(list("MacroList").isEmpty());
    QVERIFY(list("EventList").isEmpty());
    QCOMPARE(w.Find<QLineEdit>("MacroNameEdit")->text(), QString());
}

void WindowFeaturesTest::aMissingSkinFileOfTheNewLanguageEndsTheUtility() {
    Window w("0");
    QVERIFY(w.started);
    std::filesystem::remove(w.folder.skin.SkinDirectory() / "INI_EN" / "skin_color_en.ini");
    QSignalSpy ended(&w.dialog, &CORV_GMouseDlg::Ended);

    w.Click(HeaderCentre(main::kEnglish));

    QCOMPARE(ended.count(), 1);
    QVERIFY(w.dialog.HasEnded());
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QCOMPARE(w.messages.shown[0].second, std::string("找不到配置文件"));
    QCOMPARE(w.FirstMacro(), std::string("中文"));
}

void WindowFeaturesTest::profileControlsGoThroughTheWindowsDialogs() {
    Window w("0");
    QVERIFY(w.started);
    w.dialogs->chosenFile = w.folder.Dir() / "moved.ini";
    w.Click(HeaderCentre(main::kExportProfile));
    QCOMPARE(w.dialogs->opened.back().kind, std::string("save"));
    QCOMPARE(w.dialogs->opened.back().options.initialFolder, w.folder.Dir());
    QCOMPARE(ini::Read(w.folder.Dir() / "moved.ini", "Config7", "K0", 5), std::string("1"));

    w.dialogs->chosenFile = w.folder.Dir() / "config.ini";
    w.Click(HeaderCentre(main::kImportProfile));
    QCOMPARE(w.dialogs->opened.back().kind, std::string("open"));
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QCOMPARE(
        QString::fromStdString(w.messages.shown[0].second),
        QStringLiteral("该文件中没有配置：\n") + QString::fromStdString(PathToUtf8(w.folder.Dir() / "config.ini")));

    w.dialogs->answerYes = false;
    w.Click(HeaderCentre(main::kDefaults));
    QCOMPARE(w.dialogs->opened.back().kind, std::string("question"));
    QCOMPARE(w.applies, 1);
    w.dialogs->answerYes = true;
    w.Click(HeaderCentre(main::kDefaults));
    QCOMPARE(w.applies, 2);
}

// Each action that would replace the user macros or end the utility asks first while the editor
// holds changes not yet saved: Save writes them and goes on, Discard goes on, Cancel stops.
void WindowFeaturesTest::macroEditsNotSavedAreAskedAboutFirst() {
    using Act = std::function<void(Window&)>;
    const Act language = [](Window& w) { w.Click(HeaderCentre(main::kEnglish)); };
    const Act defaults = [](Window& w) { w.Click(HeaderCentre(main::kDefaults)); };
    const Act import = [](Window& w) {
        w.Click(HeaderCentre(main::kAdvancedTab));
        w.Click(kImportMacros);
    };
    const Act exitDriver = [](Window& w) { w.dialog.Tray().Menu()->actions().at(1)->trigger(); };
    // Whether the action went on.
    using Check = std::function<bool(Window&)>;
    const Check switched = [](Window& w) { return w.VerSel() == "1"; };
    const Check reset = [](Window& w) { return w.dialogs->opened.back().kind == "question"; };
    const Check fileChosen = [](Window& w) { return w.dialogs->opened.back().kind == "open"; };
    const Check ended = [](Window& w) { return w.dialog.HasEnded(); };
    const struct {
        const char* action;
        Act act;
        Check wentOn;
    } actions[] = {
        {"language", language, switched},
        {"defaults", defaults, reset},
        {"import", import, fileChosen},
        {"exit driver", exitDriver, ended},
    };
    const auto savedCount = [](Window& w) {
        return ini::Read(w.folder.Dir() / "Macro_CN.dat", "Macros", "macroNum", 3);
    };
    for (const auto& a : actions) {
        for (const UnsavedChoice answer : {UnsavedChoice::Save, UnsavedChoice::Discard, UnsavedChoice::Cancel}) {
            Window w("0");
            QVERIFY(w.started);
            w.dialogs->answerYes = false;  // the reset's own question
            w.dialogs->unsavedAnswer = answer;
            w.AddMacro(QStringLiteral("Added"));

            a.act(w);
            QVERIFY2(w.dialogs->opened.front().kind == "unsaved", a.action);
            QCOMPARE(w.dialogs->opened.front().text,
                     std::string(Text(TextId::UnsavedMacrosQuestion, Language::Chinese())));
            QCOMPARE(a.wentOn(w), answer != UnsavedChoice::Cancel);
            QCOMPARE(savedCount(w), std::string(answer == UnsavedChoice::Save ? "2" : "1"));
        }
        // Without edits nothing is asked.
        Window w("0");
        QVERIFY(w.started);
        a.act(w);
        QVERIFY2(w.dialogs->opened.empty() || w.dialogs->opened.front().kind != "unsaved", a.action);
        QVERIFY2(a.wentOn(w), a.action);
    }

    // A save that fails is told, and the utility does not end with the edits lost.
    Window w("0");
    QVERIFY(w.started);
    w.dialogs->unsavedAnswer = UnsavedChoice::Save;
    w.AddMacro(QStringLiteral("Added"));
    std::filesystem::remove(w.folder.Dir() / "Macro_CN.dat");
    std::filesystem::create_directory(w.folder.Dir() / "Macro_CN.dat");
    exitDriver(w);
    QVERIFY(!w.dialog.HasEnded());
    QCOMPARE(w.messages.shown.size(), size_t(1));
}

// The thread ends with the utility, not with the process.
void WindowFeaturesTest::colourPageAnimatesUntilTheUtilityEnds() {
    Window w("1");
    QVERIFY(w.started);
    auto previewColour = [&] { return w.dialog.Pages().ComposeFrame().pixelColor(kPreview.center()); };
    w.Click(HeaderCentre(main::kColorTab));
    QTRY_VERIFY_WITH_TIMEOUT(testing::NearColour(previewColour(), testing::SyntheticSkin::Gray()), kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(testing::NearColour(previewColour(), testing::SyntheticSkin::Blue()), kWaitMs);
    w.dialog.ExitDriver();
    const QColor last = previewColour();
    QTest::qWait(1500);  // longer than a step: a running thread would have moved on
    QCOMPARE(previewColour(), last);
}

QTEST_MAIN(WindowFeaturesTest)
#include "tst_windowfeatures.moc"
