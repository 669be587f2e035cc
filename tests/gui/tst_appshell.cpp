// The window program's life cycle: start-up order, the ways out, tray, keys, single instance.
#include <QAction>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QListWidget>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QComboBox>
#include <QPushButton>
#include <QScreen>
#include <QLabel>
#include <QSystemTrayIcon>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <string>
#include <vector>

#include "app/AppOptions.h"
#include "app/CAboutDlg.h"
#include "app/CORV_GMouseDlg.h"
#include "app/KeyFilter.h"
#include "app/PostToEventLoop.h"
#include "app/SingleInstance.h"
#include "OtherSystem.h"
#include "app/TrayIcon.h"
#include "app/VirtualMouseWindow.h"
#include "ui/UiText.h"
#include "ui/MainWindowPages.h"
#include "common/Unreadable.h"
#include "common/Trace.h"
#include "common/Utf.h"
#include "macro/MacroFile.h"
#include "device/SimulatedMouse.h"
#include "platform/DeviceAccessFix.h"
#include "session/Session.h"
#include "settings/ConfigFile.h"
#include "SyntheticSkin.h"
#include "fakes/RecordingMessages.h"
#include "common/IniFile.h"
#include "common/FileWriteLock.h"
#include "macro/MacroFile.h"

using namespace orv;

namespace {

// The files start-up reads: flat pictures, empty description files, no macros.
class AppFolder {
public:
    explicit AppFolder(const char* verSel = nullptr) {
        skin_.WriteAllPictures();
        QDir root(Dir());
        for (const char* lang : {"INI_CN", "INI_EN"}) {
            root.mkpath(QStringLiteral("skins/%1").arg(QLatin1String(lang)));
        }
        for (const char* file :
             {"skins/INI_CN/skin_main.ini", "skins/INI_CN/skin_color.ini", "skins/INI_CN/skin_advance.ini",
              "skins/INI_CN/LBWarning.ini", "skins/INI_EN/skin_main_en.ini", "skins/INI_EN/skin_color_en.ini",
              "skins/INI_EN/skin_advance_en.ini", "skins/INI_EN/LBWarning_en.ini"}) {
            Write(file, "");
        }
        for (const char* file : {"Macro_CN.dat", "Macro_EN.dat", "constMacro.dat"}) {
            Write(file, "[Macros]\r\nmacroNum=0\r\n");
        }
        QByteArray config = "[Init]\r\nCurConfig=1\r\n";
        if (verSel != nullptr) {
            config += "VER_SEL=" + QByteArray(verSel) + "\r\n";
        }
        Write("config.ini", config);
    }

    std::filesystem::path Path() const { return skin_.AppDirectory(); }
    const testing::SyntheticSkin& Skin() const { return skin_; }
    // As the portable layout gives them: everything here, the skin below.
    SessionFolders Folders() const {
        return {skin_.AppDirectory(), skin_.AppDirectory() / "config.ini", skin_.SkinDirectory()};
    }
    void Remove(const char* file) const { QFile::remove(Dir().filePath(QLatin1String(file))); }
    void Write(const char* name, const QByteArray& contents) const {
        QFile file(Dir().filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

private:
    QDir Dir() const { return QDir(QString::fromStdString(skin_.AppDirectory().string())); }
    testing::SyntheticSkin skin_;
};

std::vector<std::string> Lines(std::FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::vector<std::string> lines;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, file) != nullptr) {
        std::string line(buffer);
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    std::fseek(file, 0, SEEK_END);
    return lines;
}

const char* StepName(SessionStep step) {
    switch (step) {
    case SessionStep::StartThreads:
        return "StartThreads";
    case SessionStep::LoadConfiguration:
        return "LoadConfiguration";
    case SessionStep::LoadMacros:
        return "LoadMacros";
    case SessionStep::FindDevice:
        return "FindDevice";
    case SessionStep::WatchDeviceChanges:
        return "WatchDeviceChanges";
    case SessionStep::ApplyProfile:
        return "ApplyProfile";
    case SessionStep::SayGoodbye:
        return "SayGoodbye";
    }
    return "?";
}

// A window on a session over the simulated mouse, as the program makes them: the trace goes to
// a scratch file, and steps lists the session's operations in the order the window ran them.
struct SimulatedWindow {
    explicit SimulatedWindow(const char* verSel = nullptr) : folder(verSel) {
        dialog.Tray().SetHostCheck([this] { return trayHost; });
        session.ObserveSteps([this](SessionStep step) {
            steps.emplace_back(StepName(step));
            if (onStep) {
                onStep(step);
            }
        });
    }

    std::vector<std::string> TraceLines() const { return Lines(traceFile.get()); }
    long Count(const char* step) const { return std::count(steps.begin(), steps.end(), step); }

    AppFolder folder;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> traceFile{std::tmpfile(), &std::fclose};
    Trace trace{traceFile.get(), true, false};
    test::RecordingMessages messages;
    Session session{folder.Folders(), true, trace, messages, PostToEventLoop};
    std::vector<std::string> steps;
    std::function<void(SessionStep)> onStep;
    bool trayHost = true;  // the desktop shows notification-area icons
    CORV_GMouseDlg dialog{session, messages};
};

// A started window, for the tests of what happens after start-up.
struct StartedWindow : SimulatedWindow {
    explicit StartedWindow(const char* verSel = nullptr) : SimulatedWindow(verSel) { started = dialog.StartUp(); }
    bool started = false;
};

class KeyCountingEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    int f10Events = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        f10Events += event->key() == Qt::Key_F10;
        QLineEdit::keyPressEvent(event);
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        f10Events += event->key() == Qt::Key_F10;
        QLineEdit::keyReleaseEvent(event);
    }
};

}  // namespace

class AppShellTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startUpAppliesThirteenReportsThenAddsTheIcon();
    void withoutTheMouseShowsThePromptAndExits_data();
    void withoutTheMouseShowsThePromptAndExits();
    void missingSkinFileEndsBeforeLookingForTheMouse();
    void aMouseThatCannotBeOpenedIsSaidAndTheWindowRunsOn_data();
    void aMouseThatCannotBeOpenedIsSaidAndTheWindowRunsOn();
    void unreadableFilesAreSaidOnceAndNeverSavedOver();
    void unwritableConfigIsSaidOnceAndTheSettingsStay();
    void anyNonZeroLanguageIsEnglishThroughout();
    void closingHidesToOneTrayIconThatKeepsItsTip();
    void aDoubleClickOnTheIconShowsTheWindow();
    void restoredAfterMinimisingShowsTheSkin();
    void draggingMovesTheWindowWhereTheSystemDoesNot();
    void withoutATrayHostClosingMinimisesAndSaysWhyOnce();
    void trayMenuExitDriverEndsOnce();
    void functionBoxOpensItsMenuUntilTheWindowHides();
    void hiddenWindowHoldsNoPicturesAndShowsTheSameFrameAgain();
    void deviceRemovalEndsTheUtility();
    void deviceRemovalMidMacroEndsTheUtility();
    void failingSendsAreSaidOnceUntilAnApplyReachesTheMouse();
    void keyFilterKeepsTypingButNotEscapeReturnF10();
    void aRecordingNeverOutlivesTheShownWindow();
    void altSpaceOpensTheSystemMenuWithAboutLast();
    void programIconIsTheGeneratedOneEverywhere();
    void virtualMouseSendsButtonAndDpiReports();
    void secondInstanceAsksTheFirstToShow();
    void leftOverSocketIsTakenOver();
    void aCommandThatOpensAModalBoxKeepsTheInstanceAnswering();
    void options_data();
    void options();
};

void AppShellTest::startUpAppliesThirteenReportsThenAddsTheIcon() {
    SimulatedWindow w;
    QVERIFY(w.traceFile != nullptr);

    std::vector<std::string> traceAtApply;
    bool trayAddedAtApply = true;
    w.onStep = [&](SessionStep step) {
        if (step == SessionStep::ApplyProfile) {
            traceAtApply = w.TraceLines();
            trayAddedAtApply = w.dialog.Tray().IsAdded();
        }
    };
    QVERIFY(w.dialog.StartUp());

    const std::vector<std::string> expectedSteps{"StartThreads", "LoadConfiguration",  "LoadMacros",
                                                 "FindDevice",   "WatchDeviceChanges", "ApplyProfile"};
    QCOMPARE(w.steps, expectedSteps);
    std::vector<std::string> reports;
    for (const std::string& line : traceAtApply) {
        if (line.rfind("report ", 0) == 0) {
            reports.push_back(line.substr(7, 5));
        }
    }
    const std::vector<std::string> expectedCommands{"07 10", "07 10", "07 10", "07 10", "07 10", "07 10", "07 11",
                                                    "07 09", "07 09", "07 09", "07 09", "07 13", "07 12"};
    QCOMPARE(reports, expectedCommands);
    QVERIFY(!trayAddedAtApply);
    QVERIFY(w.dialog.Tray().IsAdded());
    QCOMPARE(w.dialog.Tray().Tip(), UiText(TextId::MainWindowTitle, Language::Chinese()));
    QCOMPARE(w.dialog.windowTitle(), UiText(TextId::MainWindowTitle, Language::Chinese()));
    QVERIFY(w.messages.shown.empty());
}

void AppShellTest::withoutTheMouseShowsThePromptAndExits_data() {
    QTest::addColumn<QByteArray>("verSel");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<QString>("prompt");
    QTest::newRow("english") << QByteArray("1") << false << QStringLiteral("Please plug-in【TALVEN Q7】USB Mouse");
    QTest::newRow("chinese") << QByteArray("0") << false << QStringLiteral("请插入【TALVEN Q7】USB鼠标");
    QTest::newRow("missing language") << QByteArray() << false << QStringLiteral("请插入【TALVEN Q7】USB鼠标");
    // The session's autostart, for a user who has no such mouse: nothing to click away.
    QTest::newRow("hidden start") << QByteArray("1") << true << QString();
}

void AppShellTest::withoutTheMouseShowsThePromptAndExits() {
    QFETCH(QByteArray, verSel);
    QFETCH(bool, hidden);
    QFETCH(QString, prompt);
    SimulatedWindow w(verSel.isEmpty() ? nullptr : verSel.constData());
    w.session.SimulateUnplug();
    QSignalSpy ended(&w.dialog, &CORV_GMouseDlg::Ended);

    QVERIFY(!w.dialog.StartUp(hidden ? NoMousePrompt::Skip : NoMousePrompt::Show));

    if (hidden) {
        QVERIFY(w.messages.shown.empty());
    } else {
        QCOMPARE(w.messages.shown.size(), size_t(1));
        QCOMPARE(QString::fromStdString(w.messages.shown[0].first), QStringLiteral("tst_appshell"));
        QCOMPARE(QString::fromStdString(w.messages.shown[0].second), prompt);
    }
    QCOMPARE(w.steps.back(), std::string("SayGoodbye"));
    QCOMPARE(w.Count("ApplyProfile"), 0);
    QVERIFY(!w.dialog.Tray().IsAdded());
    QCOMPARE(ended.count(), 1);
}

// A hand-edited "VER_SEL"=2 once gave an English title and tray menu over a Chinese skin, font
// and caption: every user must agree that non-zero is English.
void AppShellTest::anyNonZeroLanguageIsEnglishThroughout() {
    SimulatedWindow w("2");
    for (const char* file : {"skins/INI_CN/skin_main.ini", "skins/INI_CN/skin_color.ini",
                             "skins/INI_CN/skin_advance.ini", "skins/INI_CN/LBWarning.ini"}) {
        w.folder.Remove(file);  // only the English skin can start the window
    }
    CORV_GMouseDlg& dialog = w.dialog;

    QVERIFY(dialog.StartUp());
    QVERIFY(w.messages.shown.empty());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("TALVEN Q7 Gaming Mouse"));
    QCOMPARE(dialog.Tray().Menu()->actions().at(0)->text(), QStringLiteral("Show Window"));
    QCOMPARE(dialog.Pages().TextFont(), dialog.Pages().Fonts().EnglishFont);
    QCOMPARE(w.session.Macros().userMacroFile.filename().string(), std::string("Macro_EN.dat"));
    dialog.Pages().ShowAdvancedPage();
    const auto* macroList = dialog.findChild<QListWidget*>(QStringLiteral("MacroList"));
    QVERIFY(macroList != nullptr);
    QCOMPARE(macroList->font(), dialog.Pages().Fonts().EnglishFont);
    dialog.ExitDriver();
}

void AppShellTest::missingSkinFileEndsBeforeLookingForTheMouse() {
    SimulatedWindow w;
    w.folder.Remove("skins/INI_CN/LBWarning.ini");
    QSignalSpy ended(&w.dialog, &CORV_GMouseDlg::Ended);

    QVERIFY(!w.dialog.StartUp());

    QCOMPARE(w.messages.shown.size(), size_t(1));
    QCOMPARE(QString::fromStdString(w.messages.shown[0].second), QStringLiteral("找不到配置文件"));
    const std::vector<std::string> expected{"StartThreads", "LoadConfiguration", "SayGoodbye"};
    QCOMPARE(w.steps, expected);
    QCOMPARE(ended.count(), 1);
}

void AppShellTest::aMouseThatCannotBeOpenedIsSaidAndTheWindowRunsOn_data() {
    QTest::addColumn<int>("access");
    QTest::addColumn<QByteArray>("verSel");
    QTest::addColumn<int>("what");
    QTest::newRow("permission denied") << int(SimulatedMouse::Access::Denied) << QByteArray("1")
                                       << int(TextId::DeviceAccessDenied);
    QTest::newRow("not opened") << int(SimulatedMouse::Access::Failing) << QByteArray("0")
                                << int(TextId::DeviceUnopened);
}

// Without the udev rule the window once started, applied and played macros that never reached
// the mouse, and said nothing.
void AppShellTest::aMouseThatCannotBeOpenedIsSaidAndTheWindowRunsOn() {
    QFETCH(int, access);
    QFETCH(QByteArray, verSel);
    QFETCH(int, what);
    SimulatedWindow w(verSel.constData());
    w.session.Simulated()->SetAccess(static_cast<SimulatedMouse::Access>(access));
    const Language language = Language::FromSetting(verSel.toInt());

    QVERIFY(w.dialog.StartUp());
    QVERIFY(w.dialog.Tray().IsAdded());
    QCOMPARE(w.messages.shown.size(), size_t(1));
    const std::string said = w.messages.shown[0].second;
    QCOMPARE(said, std::string(Text(static_cast<TextId>(what), language)) + "\n\n" +
                       std::string(Text(DeviceAccessFix(), language)));

    w.dialog.ApplyProfile();  // the apply control
    w.dialog.ApplyProfile();
    QCOMPARE(w.messages.shown.size(), size_t(2));
    QCOMPARE(w.messages.shown[1].second, std::string(Text(TextId::MouseUnreachable, language)));
    QCOMPARE(w.Count("ApplyProfile"), 3);
    QVERIFY(w.session.Simulated()->Reports().empty());
}

// A config.ini that could not be read was taken for an empty one: the window sent a profile of
// zeros at start-up and saved its changes over the file.
void AppShellTest::unreadableFilesAreSaidOnceAndNeverSavedOver() {
    SimulatedWindow w;
    const std::filesystem::path config = w.folder.Path() / "config.ini";
    const std::filesystem::path macros = w.folder.Path() / "Macro_CN.dat";
    test::MakeUnreadable(config);
    test::MakeUnreadable(macros);
    w.folder.Write("skins/INI_CN/skin_main.ini", "[BUTTONPOS]\r\n5=10,10,20,20,,\r\n");  // profile 2
    const auto written = std::filesystem::last_write_time(config);
    const auto said = [](TextId text, const std::filesystem::path& file) {
        return UiText(text, Language::Chinese()).arg(QString::fromStdString(PathToUtf8(file))).toStdString();
    };

    QVERIFY(w.dialog.StartUp());
    QCOMPARE(w.messages.shown.size(), size_t(2));
    QCOMPARE(w.messages.shown[0].second, said(TextId::ConfigUnreadable, config));
    QCOMPARE(w.messages.shown[1].second, said(TextId::MacroFileUnreadable, macros));
    QVERIFY(w.session.Simulated()->Reports().empty());  // what the mouse holds stays
    ProfileSettings factory;
    SetFactorySettings(factory);
    QCOMPARE(ProfileKeyValues(w.session.Settings()), ProfileKeyValues(factory));

    w.dialog.ApplyProfile();  // the user's apply sends what the window shows
    w.dialog.ApplyProfile();
    QCOMPARE(w.session.Simulated()->Reports().size(), size_t(26));
    QCOMPARE(w.messages.shown.size(), size_t(3));
    QCOMPARE(w.messages.shown[2].second, said(TextId::SettingsNotSaved, config));
    for (int profileButton = 0; profileButton < 2; ++profileButton) {  // finds it unreadable again
        w.dialog.Pages().OnMouseMove({20, 20});
        w.dialog.Pages().OnLeftButtonDown({20, 20});
        w.dialog.Pages().OnLeftButtonUp({20, 20});
    }
    QCOMPARE(w.messages.shown.size(), size_t(3));
    QCOMPARE(w.session.CurrentProfile().load(), 1);
    QVERIFY(std::filesystem::last_write_time(config) == written);
}

// A config.ini that can be read but not written: the save control and the apply say so once
// between them, the edit stays in the window, and once a save works again (or fails otherwise)
// the next failure is said again.
void AppShellTest::unwritableConfigIsSaidOnceAndTheSettingsStay() {
    SimulatedWindow w("1");
    w.folder.Write("skins/INI_EN/skin_main_en.ini", "[BUTTONPOS]\r\n0=10,10,20,20,SAVE,\r\n");
    QVERIFY(w.dialog.StartUp());
    QVERIFY(w.messages.shown.empty());
    const std::filesystem::path config = w.folder.Path() / "config.ini";
    const auto readOnly = [&](bool on) {
        // Without any write permission the file is read-only for root too.
        const auto write = std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                           std::filesystem::perms::others_write;
        std::filesystem::permissions(config, write,
                                     on ? std::filesystem::perm_options::remove : std::filesystem::perm_options::add);
    };
    const auto clickSave = [&] {
        w.dialog.Pages().OnMouseMove({20, 20});
        w.dialog.Pages().OnLeftButtonDown({20, 20});
        w.dialog.Pages().OnLeftButtonUp({20, 20});
    };
    const std::string notSaved = UiText(TextId::SettingsNotSaved, Language::English())
                                     .arg(QString::fromStdString(PathToUtf8(config)))
                                     .toStdString();

    readOnly(true);
    w.session.Settings().fireTime = 321;  // an edit on the advanced page
    clickSave();
    w.dialog.ApplyProfile();
    clickSave();
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QCOMPARE(w.messages.shown[0].second, notSaved);
    QCOMPARE(w.session.Settings().fireTime.load(), 321);

    readOnly(false);
    clickSave();
    QCOMPARE(ini::Read(config, "Config1", "FIRE_TIME", 10), std::string("321"));
    readOnly(true);
    clickSave();
    QCOMPARE(w.messages.shown.size(), size_t(2));
    readOnly(false);

    // Another program that keeps the file's write lock (stopped inside it) is told apart, once,
    // and the apply still reaches the mouse.
    qputenv("ORV_GMOUSE_LOCK_WAIT_MS", "20");
    {
        const FileWriteLock stopped(config);
        const size_t sent = w.session.Simulated()->Reports().size();
        w.dialog.ApplyProfile();
        clickSave();
        QCOMPARE(w.session.Simulated()->Reports().size(), sent + 13);
    }
    qunsetenv("ORV_GMOUSE_LOCK_WAIT_MS");
    QCOMPARE(w.messages.shown.size(), size_t(3));
    QCOMPARE(
        w.messages.shown[2].second,
        UiText(TextId::FileBusy, Language::English()).arg(QString::fromStdString(PathToUtf8(config))).toStdString());
}

void AppShellTest::closingHidesToOneTrayIconThatKeepsItsTip() {
    StartedWindow w("1");
    QVERIFY(w.started);
    w.dialog.Tray().RemoveTrayIcon();  // as if start-up had not added it
    w.dialog.show();

    w.dialog.close();
    QVERIFY(!w.dialog.isVisible());
    QVERIFY(!w.dialog.HasEnded());
    QVERIFY(w.dialog.Tray().IsAdded());
    QCOMPARE(w.dialog.Tray().Tip(), UiText(TextId::MainWindowTitle, Language::English()));

    w.session.CurrentLanguage() = Language::Chinese();  // a language switch happened meanwhile
    w.dialog.ShowWindow();
    QVERIFY(w.dialog.isVisible());
    w.dialog.close();
    QCOMPARE(w.dialog.Tray().Tip(), UiText(TextId::MainWindowTitle, Language::English()));
    QCOMPARE(w.Count("SayGoodbye"), 0);
}

// What a single click does differs per system (tests/gui/linux/tst_trayclick.cpp).
void AppShellTest::aDoubleClickOnTheIconShowsTheWindow() {
    StartedWindow w;
    QVERIFY(w.started);
    auto* icon = w.dialog.Tray().findChild<QSystemTrayIcon*>();
    QVERIFY(icon != nullptr);
    QCOMPARE(icon->contextMenu(), w.dialog.Tray().Menu());

    for (auto reason : {QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Context}) {
        Q_EMIT icon->activated(reason);
        QVERIFY(!w.dialog.isVisible());
    }
    Q_EMIT icon->activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(w.dialog.isVisible());
    QVERIFY(!w.dialog.isMinimized());
}

// Without a window manager (as on this platform) the system refuses to move the window; the
// window then follows the pointer itself until the button is released.
void AppShellTest::draggingMovesTheWindowWhereTheSystemDoesNot() {
    if (test::OnWindows()) {
        QSKIP("Windows moves the window itself");
    }
    StartedWindow w;
    QVERIFY(w.started);
    w.dialog.show();
    w.dialog.move(100, 100);
    const auto send = [&w](QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, w.dialog.mapFromGlobal(global), global, button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&w.dialog, &event);
    };
    const QPoint grabbed = w.dialog.mapToGlobal(QPoint(20, 30));
    send(QEvent::MouseButtonPress, grabbed, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, grabbed + QPoint(50, 40), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(w.dialog.pos(), QPoint(150, 140));
    send(QEvent::MouseButtonRelease, grabbed + QPoint(50, 40), Qt::LeftButton, Qt::NoButton);
    send(QEvent::MouseMove, grabbed + QPoint(90, 90), Qt::NoButton, Qt::NoButton);
    QCOMPARE(w.dialog.pos(), QPoint(150, 140));
}

// A repaint that ran while the window was minimised drew the small icon; restoring showed that
// frame until the pointer crossed a region.
void AppShellTest::restoredAfterMinimisingShowsTheSkin() {
    StartedWindow w;
    QVERIFY(w.started);
    w.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.dialog));

    w.dialog.Minimise();
    QTRY_VERIFY(w.dialog.isMinimized());
    w.dialog.UpdateNow();   // a hover change or playback's repaint, while minimised
    w.dialog.ShowWindow();  // the tray's double click, "Show Window", a second start
    QTRY_VERIFY(!w.dialog.isMinimized());

    const QImage live = w.dialog.Pages().ComposeFrame().convertToFormat(QImage::Format_RGB32);
    const auto shown = [&w, &live] {
        const QPixmap frame = w.dialog.screen()->grabWindow(w.dialog.winId());
        return frame.toImage().convertToFormat(QImage::Format_RGB32).copy(live.rect());
    };
    QTRY_COMPARE(shown(), live);
}

// Hidden where no notification area shows the icon, the window could only be found again by
// starting the program anew.
void AppShellTest::withoutATrayHostClosingMinimisesAndSaysWhyOnce() {
    StartedWindow w("1");
    QVERIFY(w.started);
    w.trayHost = false;
    w.dialog.show();

    w.dialog.close();
    QVERIFY(w.dialog.isVisible());
    QVERIFY(w.dialog.isMinimized());
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QCOMPARE(w.messages.shown[0].second, std::string(Text(TextId::NoTrayMinimises, Language::English())));
    w.dialog.ShowWindow();
    w.dialog.HideToTray();  // the header's hide control
    QVERIFY(w.dialog.isVisible());
    QVERIFY(w.dialog.isMinimized());
    QCOMPARE(w.messages.shown.size(), size_t(1));

    w.trayHost = true;  // a panel with a notification area has started meanwhile
    w.dialog.ShowWindow();
    w.dialog.close();
    QVERIFY(!w.dialog.isVisible());
    QVERIFY(w.dialog.Tray().IsAdded());
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QVERIFY(!w.dialog.HasEnded());
}

void AppShellTest::trayMenuExitDriverEndsOnce() {
    StartedWindow w("1");
    QVERIFY(w.started);
    w.dialog.show();
    QSignalSpy ended(&w.dialog, &CORV_GMouseDlg::Ended);
    const auto actions = w.dialog.Tray().Menu()->actions();
    QCOMPARE(actions.size(), 2);
    QCOMPARE(actions[0]->text(), QStringLiteral("Show Window"));
    QCOMPARE(actions[1]->text(), QStringLiteral("Exit Driver"));

    actions[1]->trigger();
    w.dialog.ExitDriver();

    QCOMPARE(w.Count("SayGoodbye"), 1);
    QCOMPARE(ended.count(), 1);
    QVERIFY(!w.dialog.Tray().IsAdded());
    QVERIFY(!w.dialog.isVisible());
    w.dialog.ShowWindow();  // a late request from a second start brings nothing back
    QVERIFY(!w.dialog.isVisible());

    StartedWindow chinese("0");
    const auto chineseActions = chinese.dialog.Tray().Menu()->actions();
    QCOMPARE(chineseActions[0]->text(), QStringLiteral("显示窗口   "));
    QCOMPARE(chineseActions[1]->text(), QStringLiteral("关闭驱动"));
    // The Chinese items carry their own command ids and act the same.
    QSignalSpy chineseEnded(&chinese.dialog, &CORV_GMouseDlg::Ended);
    chineseActions[0]->trigger();
    QVERIFY(chinese.dialog.isVisible());
    chineseActions[1]->trigger();
    QCOMPARE(chineseEnded.count(), 1);
}

void AppShellTest::functionBoxOpensItsMenuUntilTheWindowHides() {
    SimulatedWindow w("1");
    w.folder.Write("skins/INI_EN/skin_main_en.ini", "[BUTTONPOS]\r\n27=10,10,50,20,,\r\n");
    for (const char* picture : {"menu_normal.jpg", "menu_over.jpg", "menu_down.jpg", "menu_mask.jpg"}) {
        w.folder.Skin().WriteFlatPicture(picture, Qt::black);
    }
    QVERIFY(w.dialog.StartUp());
    w.dialog.ShowWindow();
    const QPoint box(30, 20);
    for (QEvent::Type type : {QEvent::MouseMove, QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, box, w.dialog.mapToGlobal(box),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&w.dialog, &event);
    }
    QPointer<QWidget> menu;
    for (QWidget* child : w.dialog.findChildren<QWidget*>()) {
        if (child->windowTitle() == QStringLiteral("MainMenuDlg")) {
            menu = child;
        }
    }
    QVERIFY(menu != nullptr);
    QVERIFY(menu->isVisible());
    QCOMPARE(menu->geometry().topLeft(), w.dialog.WindowTopLeft() + QPoint(10, 30));

    w.dialog.close();  // to the tray: the menu goes with the window
    QVERIFY(menu.isNull() || !menu->isVisible());
}

// The utility rests hidden in the notification area for days: what only the window shows is let
// go, and the first frame after showing it again is the frame it showed before.
void AppShellTest::hiddenWindowHoldsNoPicturesAndShowsTheSameFrameAgain() {
    SimulatedWindow w("1");
    // The main tab is drawn pressed, box 27 hovered, the rest from the normal picture.
    w.folder.Write("skins/INI_EN/skin_main_en.ini", "[BUTTONPOS]\r\n9=100,10,50,20,,\r\n27=10,10,50,20,,\r\n");
    for (const char* picture : {"menu_normal.jpg", "menu_over.jpg", "menu_down.jpg", "menu_mask.jpg"}) {
        w.folder.Skin().WriteFlatPicture(picture, Qt::black);
    }
    QVERIFY(w.dialog.StartUp());
    w.dialog.ShowWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&w.dialog));
    const QPoint box(30, 20);
    for (QEvent::Type type : {QEvent::MouseMove, QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, box, w.dialog.mapToGlobal(box),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&w.dialog, &event);
    }
    const QImage expected = w.dialog.Pages().ComposeFrame().convertToFormat(QImage::Format_RGB32);
    QVERIFY(testing::NearColour(expected.pixelColor(110, 15), testing::SyntheticSkin::Down()));
    QVERIFY(testing::NearColour(expected.pixelColor(15, 15), testing::SyntheticSkin::Over()));
    const auto shown = [&w, &expected] {
        const QPixmap frame = w.dialog.screen()->grabWindow(w.dialog.winId());
        return frame.toImage().convertToFormat(QImage::Format_RGB32).copy(expected.rect());
    };
    QTRY_COMPARE(shown(), expected);
    QVERIFY(w.dialog.PicturesHeld() > 3);  // the page's three and the open menu's

    w.dialog.close();
    QVERIFY(!w.dialog.isVisible());
    QCOMPARE(w.dialog.PicturesHeld(), size_t(0));

    w.dialog.ShowWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&w.dialog));
    // The platform may keep the old pixels: the frame counts once the window has painted anew.
    QTRY_COMPARE(w.dialog.PicturesHeld(), size_t(3));
    QCOMPARE(shown(), expected);
}

void AppShellTest::deviceRemovalEndsTheUtility() {
    SimulatedWindow w;
    QVERIFY(w.traceFile != nullptr);
    QSignalSpy ended(&w.dialog, &CORV_GMouseDlg::Ended);
    QVERIFY(w.dialog.StartUp());
    const size_t linesBefore = w.TraceLines().size();

    // The removal is announced on another thread, as the system's monitor does.
    std::thread([&w] { w.session.SimulateUnplug(); }).join();
    QTRY_COMPARE(ended.count(), 1);

    QVERIFY(!w.session.DevicePresent());
    QVERIFY(!w.dialog.Tray().IsAdded());
    const std::vector<std::string> lines = w.TraceLines();
    const std::vector<std::string> after(lines.begin() + static_cast<std::ptrdiff_t>(linesBefore), lines.end());
    // The mouse is gone, so only the pointer speed changes.
    QCOMPARE(after, std::vector<std::string>{"pointer-speed 10"});
}

// The user stops a recording with the mouse on the window: hidden, minimised or ended, the
// window gives the keyboard back. The editor starts on the last key line of the selected macro.
void AppShellTest::aRecordingNeverOutlivesTheShownWindow() {
    SimulatedWindow w;
    MacroStore macros;
    macros.User(0).SetName(u"Three");
    for (size_t k = 0; k < 3; ++k) {
        macros.User(0).SetEvent(k, 0x04, static_cast<uint8_t>(1 + k % 2), 10);
    }
    macros.User(0).SetEventCount(3);
    macros.macroCount = 1;
    QVERIFY(SaveMacroFile(w.folder.Path() / "Macro_CN.dat", macros));
    w.folder.Write("skins/INI_CN/skin_advance.ini", "[BUTTONPOS]\r\n4=10,10,20,20,,\r\n");  // the record control
    QVERIFY(w.dialog.StartUp());
    w.dialog.Pages().ShowAdvancedPage();
    QCOMPARE(w.dialog.findChild<QListWidget*>(QStringLiteral("EventList"))->currentRow(), 4);
    const auto clickRecord = [&w] {
        w.dialog.Pages().OnMouseMove({20, 20});
        w.dialog.Pages().OnLeftButtonDown({20, 20});
        w.dialog.Pages().OnLeftButtonUp({20, 20});
    };
    const auto recording = [&w] {
        const auto& labels = w.dialog.Pages().Drawing().labels[kAdvancedTable];
        return labels.at(region::advanced::kRecord)() == UiText(TextId::Stop, Language::Chinese());
    };

    const std::function<void(CORV_GMouseDlg&)> ways[] = {
        [](CORV_GMouseDlg& d) { d.CloseToTray(); },
        [](CORV_GMouseDlg& d) { d.Minimise(); },
        [](CORV_GMouseDlg& d) { d.hide(); },
        [](CORV_GMouseDlg& d) { d.ExitDriver(); },
    };
    for (const auto& away : ways) {
        w.dialog.ShowWindow();
        w.dialog.Pages().ShowAdvancedPage();
        clickRecord();
        QVERIFY(recording());
        away(w.dialog);
        QVERIFY(!recording());
        w.dialog.Pages().ShowMainPage();
    }
}

// Pulled out while button 0 plays a macro of hours: the utility still ends at once, playback
// stops, and nothing more is sent.
void AppShellTest::deviceRemovalMidMacroEndsTheUtility() {
    SimulatedWindow w;
    MacroStore macros;
    MacroSlot& slot = macros.User(0);
    for (size_t k = 0; k < 200; ++k) {
        slot.SetEvent(k, 0x04, k % 2 ? MacroSlot::kRelease : MacroSlot::kPress, 5);
    }
    slot.SetEventCount(200);
    slot.SetRepeatOn(1);
    slot.SetRepeatCount(65535);
    macros.macroCount = 1;
    QVERIFY(SaveMacroFile(w.folder.Path() / "Macro_CN.dat", macros));
    w.folder.Write("config.ini", "[Init]\r\nCurConfig=1\r\n[Config1]\r\nK0=41\r\nK1=1\r\n");
    QSignalSpy ended(&w.dialog, &CORV_GMouseDlg::Ended);
    QVERIFY(w.dialog.StartUp());
    SimulatedMouse& mouse = *w.session.Simulated();
    const size_t applied = mouse.Reports().size();
    const uint8_t press[] = {6, 0xF1, 0};
    w.session.SimulateInput(press);
    QVERIFY(mouse.WaitForReports(applied + 10, std::chrono::seconds(60)));

    std::thread([&w] { w.session.SimulateUnplug(); }).join();
    QTRY_COMPARE(ended.count(), 1);
    QVERIFY(w.session.PlaybackIdle());
    const size_t reports = mouse.Reports().size();
    const std::vector<std::string> lines = w.TraceLines();
    QCOMPARE(lines.back(), std::string("pointer-speed 10"));
    QTest::qWait(50);
    QCOMPARE(mouse.Reports().size(), reports);
    QCOMPARE(w.TraceLines().size(), lines.size());
}

// A mouse that stops taking reports while plugged in: the apply says so once, not at every
// click, and again only after an apply has reached it in between.
void AppShellTest::failingSendsAreSaidOnceUntilAnApplyReachesTheMouse() {
    StartedWindow w("1");
    QVERIFY(w.started);
    QVERIFY(w.messages.shown.empty());
    const std::string unreachable(Text(TextId::MouseUnreachable, Language::English()));
    SimulatedMouse& mouse = *w.session.Simulated();

    mouse.FailFeatureReports(true);
    w.dialog.ApplyProfile();
    w.dialog.ApplyProfile();
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QCOMPARE(w.messages.shown[0].second, unreachable);

    mouse.FailFeatureReports(false);
    w.dialog.ApplyProfile();
    QCOMPARE(w.messages.shown.size(), size_t(1));
    mouse.FailFeatureReports(true);
    w.dialog.ApplyProfile();
    QCOMPARE(w.messages.shown.size(), size_t(2));
    w.dialog.ExitDriver();  // the goodbye fails too, and says nothing more
    QCOMPARE(w.messages.shown.size(), size_t(2));
}

void AppShellTest::keyFilterKeepsTypingButNotEscapeReturnF10() {
    StartedWindow w;
    QVERIFY(w.started);
    auto* edit = new KeyCountingEdit(&w.dialog);
    w.dialog.show();
    edit->setFocus();
    QSignalSpy returned(edit, &QLineEdit::returnPressed);

    QTest::keyClicks(edit, QStringLiteral("y1Y"));
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Enter);
    QTest::keyClick(edit, Qt::Key_Escape);
    QTest::keyClick(edit, Qt::Key_F10);

    QCOMPARE(edit->text(), QStringLiteral("y1Y"));
    QCOMPARE(returned.count(), 0);
    QCOMPARE(edit->f10Events, 0);
    QVERIFY(w.dialog.isVisible());
    QVERIFY(!w.dialog.HasEnded());
}

void AppShellTest::altSpaceOpensTheSystemMenuWithAboutLast() {
    if (test::OnWindows()) {
        QSKIP("Windows opens its own system menu, which has the entries added to it");
    }
    StartedWindow w;
    QVERIFY(w.started);
    w.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.dialog));
    QTest::keyClick(&w.dialog, Qt::Key_Space, Qt::AltModifier);
    QTRY_VERIFY(w.dialog.SystemMenu().isVisible());
    const auto actions = w.dialog.SystemMenu().actions();
    QVERIFY(actions.size() >= 2);
    QVERIFY(actions[actions.size() - 2]->isSeparator());
    QCOMPARE(actions.last()->text(), QStringLiteral("&About ORV_GMouse..."));
    w.dialog.SystemMenu().hide();

    CAboutDlg about(QIcon(), &w.dialog);
    QCOMPARE(about.windowTitle(), QStringLiteral("About ORV_GMouse"));
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        texts << label->text();
    }
    QVERIFY(texts.contains(QStringLiteral("ORV_GMouse Version 1.0")));
}

void AppShellTest::programIconIsTheGeneratedOneEverywhere() {
    StartedWindow w;
    QVERIFY(w.started);
    const QIcon icon = w.dialog.windowIcon();
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage drawn(QStringLiteral(ORV_SOURCE_DIR "/packaging/icons/orv-gmouse-%1.png").arg(size));
        QVERIFY2(!drawn.isNull(), qPrintable(QString::number(size)));
        const QString difference = testing::PictureDifference(icon.pixmap(size, size).toImage(), drawn);
        QVERIFY2(difference.isEmpty(), qPrintable(QString::number(size) + QStringLiteral(": ") + difference));
    }
    auto* tray = w.dialog.Tray().findChild<QSystemTrayIcon*>();
    QVERIFY(tray != nullptr);
    QCOMPARE(tray->icon().pixmap(22, 22).toImage(), icon.pixmap(22, 22).toImage());

    QImage inAbout;
    QTimer::singleShot(0, &w.dialog, [&inAbout] {
        auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
        if (about == nullptr) {
            return;
        }
        for (const QLabel* label : about->findChildren<QLabel*>()) {
            if (!label->pixmap().isNull()) {
                inAbout = label->pixmap().toImage();
            }
        }
        about->accept();
    });
    w.dialog.ShowAbout();
    QCOMPARE(inAbout.convertToFormat(QImage::Format_ARGB32),
             icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32));
}

void AppShellTest::virtualMouseSendsButtonAndDpiReports() {
    SimulatedWindow w;  // not started: no listener takes the reports before the test reads them
    VirtualMouseWindow window(w.session);
    auto* button3 = window.findChild<QPushButton*>(QStringLiteral("button3"));
    auto* level2 = window.findChild<QPushButton*>(QStringLiteral("dpi2"));
    auto* from = window.findChild<QComboBox*>();
    QVERIFY(button3 && level2 && from);

    QTest::mousePress(button3, Qt::LeftButton);
    QTest::mouseRelease(button3, Qt::LeftButton);
    from->setCurrentIndex(1);
    level2->click();

    SimulatedMouse& mouse = *w.session.Simulated();
    std::unique_ptr<HidHandle> input;
    for (const HidCollectionInfo& collection : mouse.Enumerate(DeviceLink::kMaxInterfaces)) {
        if (collection.path == SimulatedMouse::kInputPath) {
            input = mouse.Open(collection, HidAccess::Read);
        }
    }
    QVERIFY(input != nullptr);
    // A report of the test's own ends what the window sent, so a report too many shows.
    const std::array<uint8_t, 3> end{6, 0, 0};
    w.session.SimulateInput(end);
    std::vector<std::vector<int>> inputs;
    for (std::array<uint8_t, SimulatedMouse::kReportLength> report{}; inputs.empty() || inputs.back()[1] != 0;) {
        QCOMPARE(input->ReadInputReport(report), HidReadResult::Ok);
        inputs.push_back({report[0], report[1], report[2]});
    }
    const std::vector<std::vector<int>> expected{
        {6, 0xF3, 0}, {6, 0xF3, 0x80}, {6, 0xF2, 1}, {6, 0xF2, 0x80}, {6, 0, 0}};
    QCOMPARE(inputs, expected);
}

void AppShellTest::secondInstanceAsksTheFirstToShow() {
    ORV_SKIP_ONE_PROCESS_PIPE_UNDER_WINE();
    QTemporaryDir dir;
    const QString name = test::InstanceNameIn(dir);
    SingleInstance first(name);
    QVERIFY(first.Claim());
    QSignalSpy shown(&first, &SingleInstance::ShowRequested);
    QSignalSpy commands(&first, &SingleInstance::CommandReceived);

    SingleInstance second(name);
    QVERIFY(!second.Claim());
    QTRY_COMPARE(shown.count(), 1);
    // A hidden start finds the running instance just the same, and leaves its window alone.
    SingleInstance hidden(name);
    QVERIFY(!hidden.Claim(SingleInstance::Request::None));
    QVERIFY(second.Send(QStringLiteral("tray-exit")));
    QTRY_COMPARE(commands.count(), 1);
    QCOMPARE(commands[0][0].toString(), QStringLiteral("tray-exit"));
    QCOMPARE(shown.count(), 1);
}

void AppShellTest::leftOverSocketIsTakenOver() {
    if (test::OnWindows()) {
        QSKIP("a named pipe leaves nothing behind when its program ends");
    }
    QTemporaryDir dir;
    const QString name = test::InstanceNameIn(dir);
    {
        QFile leftOver(name);
        QVERIFY(leftOver.open(QIODevice::WriteOnly));
    }
    SingleInstance first(name);
    QVERIFY(first.Claim());
    SingleInstance second(name);
    QVERIFY(!second.Claim());
}

// A close without a notification area opens a message box; its event loop saw the sender hang up
// and deleted the socket the instance was still reading from.
void AppShellTest::aCommandThatOpensAModalBoxKeepsTheInstanceAnswering() {
    ORV_SKIP_ONE_PROCESS_PIPE_UNDER_WINE();
    QTemporaryDir dir;
    const QString name = test::InstanceNameIn(dir);
    SingleInstance first(name);
    QVERIFY(first.Claim());
    QStringList received;
    QObject::connect(&first, &SingleInstance::CommandReceived, [&received](const QString& command) {
        received << command;
        if (received.size() == 1) {
            QEventLoop modal;
            QTimer::singleShot(300, &modal, &QEventLoop::quit);
            modal.exec();
        }
    });

    SingleInstance second(name);
    QVERIFY(second.Send(QStringLiteral("close")));
    QTRY_COMPARE(received.size(), 1);
    QVERIFY(second.Send(QStringLiteral("tray-exit")));
    QTRY_COMPARE(received, (QStringList{QStringLiteral("close"), QStringLiteral("tray-exit")}));
}

void AppShellTest::options_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("simulate");
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("screenshots");
    QTest::addColumn<bool>("hidden");
    QTest::newRow("none") << QStringList{} << true << false << QString() << QString() << false;
    QTest::newRow("all") << QStringList{"--simulate", "--trace", "--dir", "d ü", "--screenshots", "s", "--hidden"}
                         << true << true << QStringLiteral("d ü") << QStringLiteral("s") << true;
    QTest::newRow("dir without folder") << QStringList{"--dir"} << false << false << QString() << QString() << false;
    QTest::newRow("unknown") << QStringList{"--simulat"} << false << false << QString() << QString() << false;
}

void AppShellTest::options() {
    QFETCH(QStringList, args);
    QFETCH(bool, valid);
    std::vector<std::string> list;
    for (const QString& a : args) {
        list.push_back(a.toStdString());
    }
    const ParsedAppOptions parsed = ParseAppOptions(list);
    QCOMPARE(parsed.options.has_value(), valid);
    if (!valid) {
        QVERIFY(!parsed.error.empty());
        return;
    }
    QFETCH(bool, simulate);
    QFETCH(QString, dir);
    QFETCH(QString, screenshots);
    QFETCH(bool, hidden);
    QCOMPARE(parsed.options->simulate, simulate);
    QCOMPARE(parsed.options->hidden, hidden);
    QCOMPARE(parsed.options->dir ? QString::fromStdString(parsed.options->dir->string()) : QString(), dir);
    QCOMPARE(parsed.options->screenshots ? QString::fromStdString(parsed.options->screenshots->string()) : QString(),
             screenshots);
}

QTEST_MAIN(AppShellTest)
#include "tst_appshell.moc"
