#include "app/CORV_GMouseDlg.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWindow>
#include <chrono>
#include <thread>

#include "app/CAboutDlg.h"
#include "app/KeyFilter.h"
#include "app/ProgramIcon.h"
#include "app/SystemEvents.h"
#include "app/TrayIcon.h"
#include "app/WindowParts.h"
#include "app/WindowTexts.h"
#include "ui/UiText.h"
#include "common/Messages.h"
#include "common/Utf.h"
#include "platform/DeviceAccessFix.h"
#include "platform/FreedMemory.h"
#include "session/Session.h"
#include "skin/SkinLayout.h"
#include "ui/MainWindowPages.h"
#include "ui/UserDialogs.h"

namespace orv {

namespace {

// Size until the mask gives the window its own.
constexpr QSize kInitialSize(800, 600);

}  // namespace

CORV_GMouseDlg::CORV_GMouseDlg(Session& session, MessageSink& messages, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint | Qt::WindowSystemMenuHint),
      session_(session),
      messages_(messages),
      icon_(ProgramIcon()),
      notices_(messages, session.CurrentLanguage(), session.Folders().ConfigPath, ProgramName().toStdString()),
      tray_(std::make_unique<TrayIcon>(icon_)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    resize(kInitialSize);
    events_.OnLanguageChanged([this](Language language) { FollowLanguage(language); });
    connect(tray_.get(), &TrayIcon::ShowWindowRequested, this, &CORV_GMouseDlg::ShowWindow);
    connect(tray_.get(), &TrayIcon::ExitDriverRequested, this, &CORV_GMouseDlg::ExitDriverCommand);
}

CORV_GMouseDlg::~CORV_GMouseDlg() { parts_.reset(); }

// Everything is loaded before the mouse is looked for, and the mouse gets the profile before
// the icon appears. A step that ends the utility (missing skin file, no mouse) has already run
// ExitDriver when this returns false.
bool CORV_GMouseDlg::StartUp(NoMousePrompt noMousePrompt) {
    StartThreads();
    WatchSystemEvents();
    setWindowIcon(icon_);
    const ProfileFound config = session_.LoadConfiguration();
    const Language language = session_.CurrentLanguage();
    setWindowTitle(UiText(TextId::MainWindowTitle, language));
    SkinLayout skin;
    if (!LoadSkinFiles(skin)) {
        return false;
    }
    // The features start from the macros as loaded.
    const Session::MacrosLoaded macros = session_.LoadMacros();
    parts_ = std::make_unique<WindowParts>(
        WindowParts::Surroundings{session_, *this, *this, events_, notices_, messages_, [this] { ShowAbout(); }},
        std::move(skin), std::move(dialogs_));
    if (Pages().ShapeWindow()) {
        setFixedSize(Pages().SkinSize());
    }
    AddToNativeSystemMenu();
    InstallKeyFilter();
    tray_->SetMenuLanguage(language, events_.TrayEntries());

    const DeviceStatus device = session_.FindDevice();
    if (device == DeviceStatus::Absent) {
        if (noMousePrompt == NoMousePrompt::Show) {
            messages_.ShowMessage(ProgramName().toStdString(), Text(TextId::PlugInPrompt, language));
        }
        ExitDriver();
        return false;
    }
    WatchDevice();
    if (config == ProfileFound::Unreadable) {
        notices_.ConfigUnreadable();
    }
    for (const std::filesystem::path& file : macros.unreadable) {
        notices_.Tell(TextId::MacroFileUnreadable, file);
    }
    TellDeviceAccess(device);
    // A request to end can come while a message waits for the user; it has ended the utility.
    if (ended_) {
        return false;
    }
    // Sending the factory settings shown in place of an unreadable config.ini would replace
    // what the user's own profile left on the mouse; the user's next apply sends them.
    if (config != ProfileFound::Unreadable) {
        // The mouse needs a moment after its handles are opened before it takes reports.
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        const ApplyResult applied = session_.ApplyProfile();
        // A mouse that cannot be opened has just been told of; the user's next apply says it again.
        if (device == DeviceStatus::Ready) {
            notices_.ProfileApplied(applied);
        } else {
            notices_.ProfileSaved(applied.saved);
        }
    }
    if (ended_) {
        return false;
    }
    AddTrayIcon();
    started_ = true;
    return true;
}

void CORV_GMouseDlg::ExitDriver() {
    if (ended_) {
        return;
    }
    events_.OutOfSight();
    events_.PutAway();
    tray_->RemoveTrayIcon();
    events_.Ending();
    session_.SayGoodbye();
    ended_ = true;
    systemEvents_.reset();
    keyFilter_.reset();
    hide();
    Q_EMIT Ended();
}

// Only the user's own command asks: the other ways out (the mouse pulled out, a missing skin
// file, the session ending) have nobody to answer, or no time to wait for an answer.
void CORV_GMouseDlg::ExitDriverCommand() {
    if (ended_ || !events_.SettleUnsavedWork()) {
        return;
    }
    ExitDriver();
}

// A show request from a later start can arrive while start-up still waits on a message box; the
// window appears only once start-up has finished.
void CORV_GMouseDlg::ShowWindow() {
    if (!started_ || ended_) {
        return;
    }
    show();
    showNormal();
    raise();
    activateWindow();
}

void CORV_GMouseDlg::UseDialogs(std::unique_ptr<UserDialogs> dialogs) { dialogs_ = std::move(dialogs); }

void CORV_GMouseDlg::ShowAbout() {
    CAboutDlg about(icon_, this);
    about.exec();
}

void CORV_GMouseDlg::ShowSystemMenu() { SystemMenu().popup(mapToGlobal(QPoint(0, 0))); }

QMenu& CORV_GMouseDlg::SystemMenu() { return parts_->SystemMenu(); }

MainWindowPages& CORV_GMouseDlg::Pages() { return parts_->Pages(); }

PageState& CORV_GMouseDlg::State() { return parts_->State(); }

const SkinLayout& CORV_GMouseDlg::Skin() const { return parts_->Skin(); }

void CORV_GMouseDlg::Repaint() { update(); }

void CORV_GMouseDlg::RepaintRegion(const QRegion& region) { update(region); }

void CORV_GMouseDlg::UpdateNow() { repaint(); }

void CORV_GMouseDlg::StartDrag(QPoint clientPoint) {
    if (windowHandle() == nullptr || !windowHandle()->startSystemMove()) {
        dragFrom_ = clientPoint;
    }
}

void CORV_GMouseDlg::Minimise() { showMinimized(); }

// Hidden where the desktop shows no notification area, the window could be found again only by
// starting the program anew; it stays in the task bar instead, and the user learns why once.
void CORV_GMouseDlg::HideToTray() {
    events_.PutAway();
    if (!tray_->HostAvailable()) {
        notices_.NoTray();
        showMinimized();
        return;
    }
    // Hidden straight away, not minimised first: where no window manager answers, Qt's own
    // minimised state comes back after the window is shown again, and the window would paint
    // itself as an icon.
    hide();
    AddTrayIcon();
}

void CORV_GMouseDlg::CloseToTray() { HideToTray(); }

void CORV_GMouseDlg::ApplyProfile() {
    if (parts_ != nullptr) {
        Pages().ApplyProfile();
    }
}

QPoint CORV_GMouseDlg::WindowTopLeft() const { return frameGeometry().topLeft(); }

// A paint that ran while the window was minimised drew the small icon into the frame the window
// system keeps, and restoring shows that frame again unless the whole window is painted anew.
// A minimised window shows no Stop button, so a recording ends there.
void CORV_GMouseDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        events_.OutOfSight();
    }
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<const QWindowStateChangeEvent*>(event);
        if ((change->oldState() & Qt::WindowMinimized) != 0 && !isMinimized()) {
            update();
        }
    }
}

void CORV_GMouseDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (!ended_) {
        CloseToTray();
    }
}

// Hidden, the utility may rest in the notification area for days; the pictures only the window
// shows are decoded again by its next paint, in a few milliseconds. A minimised window (the
// system's own, spontaneous hide) keeps them: it is back at a click.
void CORV_GMouseDlg::hideEvent(QHideEvent* event) {
    events_.OutOfSight();
    QWidget::hideEvent(event);
    if (event->spontaneous()) {
        return;
    }
    // What beside the window reads the pictures goes first.
    events_.PutAway();
    if (parts_ != nullptr) {
        Pages().ReleasePictures();
    }
    ReturnFreedMemory();
    ReleaseFontPages();
}

void CORV_GMouseDlg::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Q_EMIT Shown();
}

size_t CORV_GMouseDlg::PicturesHeld() const { return parts_ != nullptr ? parts_->Pages().PicturesHeld() : 0; }

bool CORV_GMouseDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    return (systemEvents_ != nullptr && systemEvents_->WindowMessage(eventType, message, result)) ||
           QWidget::nativeEvent(eventType, message, result);
}

void CORV_GMouseDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (parts_ == nullptr) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    Pages().PaintMainWindow(painter);
}

void CORV_GMouseDlg::mousePressEvent(QMouseEvent* event) {
    if (parts_ != nullptr && event->button() == Qt::LeftButton) {
        Pages().OnLeftButtonDown(event->position().toPoint());
    }
}

void CORV_GMouseDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragFrom_.reset();
    }
    if (parts_ != nullptr && event->button() == Qt::LeftButton) {
        Pages().OnLeftButtonUp(event->position().toPoint());
    }
}

void CORV_GMouseDlg::mouseMoveEvent(QMouseEvent* event) {
    if (dragFrom_ && (event->buttons() & Qt::LeftButton) != 0) {
        move(event->globalPosition().toPoint() - *dragFrom_);
        return;
    }
    if (parts_ != nullptr) {
        Pages().OnMouseMove(event->position().toPoint());
    }
}

// The power events re-apply the profile once start-up has applied it; on Windows the same
// watcher brings the device changes, the About entry of the system's own window menu and the
// end of the session.
void CORV_GMouseDlg::WatchSystemEvents() {
    SystemEventHandlers handlers;
    handlers.powerEvent = [this] {
        if (started_ && !ended_) {
            ApplyProfile();
        }
    };
    handlers.deviceChange = [this](DeviceChange change, std::string_view path) {
        session_.HandleDeviceChange(change, path);
    };
    handlers.sessionEnding = [this] { ExitDriver(); };
    systemEvents_ = orv::WatchSystemEvents(*this, std::move(handlers));
}

// Where the system gives the window a menu of its own (Windows), the features' entries and About
// go there as well, and Alt+Space opens that one.
void CORV_GMouseDlg::AddToNativeSystemMenu() {
    std::vector<SystemMenuAction> entries;
    for (const MenuEntry& entry : events_.SystemMenuEntries()) {
        entries.push_back({UiText(entry.caption).toStdString(), entry.act});
    }
    nativeMenu_ = systemEvents_->AddToNativeMenu(std::move(entries),
                                                 {UiText(TextId::AboutMenu).toStdString(), [this] { ShowAbout(); }});
}

void CORV_GMouseDlg::InstallKeyFilter() {
    std::function<void()> openSystemMenu;
    if (!nativeMenu_) {
        openSystemMenu = [this] { ShowSystemMenu(); };
    }
    keyFilter_ = orv::InstallKeyFilter(*this, std::move(openSystemMenu));
}

void CORV_GMouseDlg::StartThreads() {
    session_.StartThreads(
        [window = QPointer<CORV_GMouseDlg>(this)] {
            if (window != nullptr) {
                window->update();
            }
        },
        [window = QPointer<CORV_GMouseDlg>(this)](WriteResult saved) {
            if (window != nullptr) {
                window->notices_.ProfileSaved(saved);
            }
        });
}

// A missing description file has been reported by the reader; the utility cannot run without it.
// An installed copy shares one skin between users, away from the user's own files.
bool CORV_GMouseDlg::LoadSkinFiles(SkinLayout& skin) {
    const bool loaded = LoadSkin(session_.Folders().SkinDirectory, session_.CurrentLanguage(), skin, messages_,
                                 ProgramName().toStdString());
    if (!loaded) {
        ExitDriver();
    }
    return loaded;
}

// The tray icon keeps the tip it was added with; its menu follows the language.
void CORV_GMouseDlg::FollowLanguage(Language language) {
    tray_->SetMenuLanguage(language, events_.TrayEntries());
    setWindowTitle(UiText(TextId::MainWindowTitle, language));
}

void CORV_GMouseDlg::WatchDevice() {
    session_.WatchDeviceChanges([this] { ExitDriver(); },
                                [this](DeviceStatus found) {
                                    if (!ended_) {
                                        TellDeviceAccess(found);
                                    }
                                });
}

// Without this the window would run on, apply and play macros that never reach the mouse, and
// say nothing. The user can still see and edit the profiles, so the window runs on after it.
void CORV_GMouseDlg::TellDeviceAccess(DeviceStatus status) {
    if (status != DeviceStatus::AccessDenied && status != DeviceStatus::Unopened) {
        return;
    }
    const Language language = session_.CurrentLanguage();
    const TextId what = status == DeviceStatus::AccessDenied ? TextId::DeviceAccessDenied : TextId::DeviceUnopened;
    const std::string text =
        std::string(Text(what, language)) + "\n\n" + std::string(Text(DeviceAccessFix(), language));
    messages_.ShowMessage(ProgramName().toStdString(), text);
}

void CORV_GMouseDlg::AddTrayIcon() { tray_->AddTrayIcon(UiText(TextId::MainWindowTitle, session_.CurrentLanguage())); }

}  // namespace orv
