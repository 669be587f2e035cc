#include "app/CORV_GMouseApp.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <cstdio>

#include "app/CORV_GMouseDlg.h"
#include "app/EndRequestWatch.h"
#include "app/FirstPaintMark.h"
#include "app/LastWords.h"
#include "app/MessageBoxes.h"
#include "app/PostToEventLoop.h"
#include "app/SingleInstance.h"
#include "app/TrayIcon.h"
#include "app/VirtualMouseWindow.h"
#include "app/WindowTexts.h"
#include "common/Trace.h"
#include "common/Utf.h"
#include "platform/AppFolders.h"
#include "platform/EndRequests.h"
#include "ui/MainWindowPages.h"

namespace orv {

namespace {

constexpr const char* kTestHooksVariable = "ORV_GMOUSE_TEST_HOOKS";

// Sees the application's Quit event before QApplication closes the windows for it: closing the
// main window would only hide it, or minimise it and open a message box where no notification
// area is, and the quit would then be refused.
class QuitEndsTheUtility : public QObject {
public:
    explicit QuitEndsTheUtility(CORV_GMouseDlg& dialog) : dialog_(dialog) { qApp->installEventFilter(this); }
    ~QuitEndsTheUtility() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == qApp && event->type() == QEvent::Quit) {
            dialog_.ExitDriver();
        }
        return false;
    }

private:
    CORV_GMouseDlg& dialog_;
};

}  // namespace

CORV_GMouseApp::CORV_GMouseApp(AppOptions options) : options_(std::move(options)) {
    AppFolders folders;
    if (FindAppFolders(options_.dir, SystemFolderFacts(), folders, folderError_)) {
        folders_ = {folders.AppDirectory, folders.AppDirectory / "config.ini", folders.SkinDirectory};
    }
}

CORV_GMouseApp::~CORV_GMouseApp() = default;

int CORV_GMouseApp::Run() {
    // Nothing the user changes could be kept, so the utility says why instead of starting.
    if (!folderError_.empty()) {
        std::unique_ptr<MessageSink> sink = std::make_unique<MessageBoxes>();
        if (options_.screenshots) {
            sink = std::make_unique<ErrorOutputMessages>();
        }
        sink->ShowMessage(ProgramName().toStdString(), folderError_);
        return 1;
    }
    // Ended from outside (logout, shutdown, a kill, Ctrl+C in a terminal), the utility still lets
    // go of the mouse: the request is answered from the event loop as Exit Driver is.
    const EndRequests ends;
    const std::unique_ptr<QObject> endWatch = WatchEndRequests(ends, [this] { EndOnRequest(); });
    // Screenshots come from a separate, short run that must not disturb a running utility.
    if (options_.screenshots) {
        return RunWindow();
    }
    // A hidden start (the session's autostart) leaves an instance that already runs as it is.
    SingleInstance instance(SingleInstance::DefaultName());
    if (!instance.Claim(options_.hidden ? SingleInstance::Request::None : SingleInstance::Request::Show)) {
        return 0;
    }
    QObject::connect(&instance, &SingleInstance::ShowRequested, [this] {
        if (dialog_ != nullptr) {
            dialog_->ShowWindow();
        }
    });
    if (qEnvironmentVariableIsSet(kTestHooksVariable)) {
        QObject::connect(&instance, &SingleInstance::CommandReceived,
                         [this](const QString& command) { RunTestCommand(command); });
    }
    // Where Qt ends the process itself (its display connection broke), the mouse is let go and
    // the socket a later start looks for is removed all the same.
    const LastWords lastWords([this, &instance] {
        LetGoAtExit();
        instance.StopListening();
    });
    return RunWindow();
}

int CORV_GMouseApp::RunWindow() {
    trace_ = std::make_unique<Trace>(stdout, options_.trace, options_.timestamps);
    if (options_.screenshots) {
        messages_ = std::make_unique<ErrorOutputMessages>();
    } else {
        messages_ = std::make_unique<MessageBoxes>();
    }
    session_ = std::make_unique<Session>(folders_, options_.simulate, *trace_, *messages_, PostToEventLoop);
    dialog_ = std::make_unique<CORV_GMouseDlg>(*session_, *messages_);
    QObject::connect(dialog_.get(), &CORV_GMouseDlg::Ended, qApp, &QApplication::quit, Qt::QueuedConnection);
    // However the event loop is asked to end (a session manager's quit, the system's end of the
    // session on Windows), the utility ends as Exit Driver ends it, before any window is closed.
    QuitEndsTheUtility quitWatch(*dialog_);
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, dialog_.get(), &CORV_GMouseDlg::ExitDriver);
    const bool hidden = options_.hidden && !options_.screenshots;
    if (!dialog_->StartUp(hidden ? NoMousePrompt::Skip : NoMousePrompt::Show)) {
        // Without the mouse or its skin the utility ends as designed; only a screenshot run
        // that produced nothing is a failure for whoever started it.
        return options_.screenshots ? 1 : 0;
    }
    if (options_.screenshots) {
        return SaveScreenshots();
    }
    if (options_.simulate) {
        virtualMouse_ = std::make_unique<VirtualMouseWindow>(*session_);
        QObject::connect(dialog_.get(), &CORV_GMouseDlg::Shown, virtualMouse_.get(), [this] { ShowVirtualMouse(); });
        QObject::connect(dialog_.get(), &CORV_GMouseDlg::Ended, virtualMouse_.get(), &QWidget::close);
    }
    if (hidden) {
        return QApplication::exec();
    }
    MarkFirstPaint(*dialog_);
    dialog_->show();
    return QApplication::exec();
}

// Placed beside the main window the first time; later the user's own place is kept.
void CORV_GMouseApp::ShowVirtualMouse() {
    if (virtualMouse_->isVisible()) {
        return;
    }
    if (!virtualMousePlaced_) {
        virtualMousePlaced_ = true;
        virtualMouse_->move(dialog_->frameGeometry().topRight() + QPoint(16, 0));
    }
    virtualMouse_->show();
}

// Start-up may still wait on a message box, whose event loop the ending of the main one would
// not end, so the boxes are closed too.
void CORV_GMouseApp::EndOnRequest() {
    if (dialog_ == nullptr) {
        return;
    }
    dialog_->ExitDriver();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isModal() && widget->isVisible()) {
            widget->close();
        }
    }
}

// Runs inside exit(): nothing here may need the display or the event loop.
void CORV_GMouseApp::LetGoAtExit() {
    if (session_ != nullptr && (dialog_ == nullptr || !dialog_->HasEnded())) {
        session_->SayGoodbye();
    }
}

// End-to-end tests cannot click into a notification area without a pointer-driving tool, so
// they ask the running instance to trigger the very menu entry a click would, to close the
// window as Alt+F4 would, or to have the simulated mouse send an input report (hex bytes).
void CORV_GMouseApp::RunTestCommand(const QString& command) {
    if (dialog_ == nullptr) {
        return;
    }
    // Show Window comes first and Exit Driver last, the features' entries between them.
    const QList<QAction*> tray = dialog_->Tray().Menu()->actions();
    if (command == QLatin1String("tray-exit")) {
        tray.last()->trigger();
    } else if (command == QLatin1String("tray-show")) {
        tray.first()->trigger();
    } else if (command == QLatin1String("close")) {
        dialog_->close();
    } else if (command.startsWith(QLatin1String("input "))) {
        const QByteArray report = QByteArray::fromHex(command.mid(6).toLatin1());
        session_->SimulateInput(
            {reinterpret_cast<const uint8_t*>(report.constData()), static_cast<size_t>(report.size())});
    }
}

// Each page as the user sees it, for a look at the skin without a display.
int CORV_GMouseApp::SaveScreenshots() {
    const QDir dir(QString::fromStdString(PathToUtf8(*options_.screenshots)));
    dir.mkpath(QStringLiteral("."));
    MainWindowPages& pages = dialog_->Pages();
    struct Shot {
        const char* name;
        void (MainWindowPages::*show)();
    };
    const Shot shots[] = {{"main.png", &MainWindowPages::ShowMainPage},
                          {"advanced.png", &MainWindowPages::ShowAdvancedPage},
                          {"color.png", &MainWindowPages::ShowColorPage}};
    dialog_->show();
    int failures = 0;
    for (const Shot& shot : shots) {
        (pages.*shot.show)();
        QApplication::processEvents();
        const QString path = dir.absoluteFilePath(QString::fromLatin1(shot.name));
        if (dialog_->grab().save(path, "PNG")) {
            std::printf("%s\n", path.toUtf8().constData());
        } else {
            std::fprintf(stderr, "cannot write %s\n", path.toUtf8().constData());
            ++failures;
        }
    }
    std::fflush(stdout);
    dialog_->ExitDriver();
    return failures == 0 ? 0 : 1;
}

}  // namespace orv
