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
#include "app/CoreServices.h"
#include "app/KeyFilter.h"
#include "app/ProgramIcon.h"
#include "app/SystemEvents.h"
#include "app/TrayIcon.h"
#include "app/WindowTexts.h"
#include "ui/UiText.h"
#include "common/Messages.h"
#include "common/Utf.h"
#include "settings/ConfigFile.h"
#include "skin/SkinLayout.h"
#include "ui/MainWindowPages.h"

namespace orv {

namespace {

// Size until the mask gives the window its own.
constexpr QSize kInitialSize(800, 600);

}  // namespace

CORV_GMouseDlg::CORV_GMouseDlg(AppRecords& records, CoreServices& core, MessageSink& messages, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint | Qt::WindowSystemMenuHint),
      records_(records),
      core_(core),
      messages_(messages),
      icon_(ProgramIcon()),
      model_{records.profileSettings, records.currentProfile, records.language, records.skinLayout, {}, {}, {}, {}, {}},
      tray_(std::make_unique<TrayIcon>(icon_)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    resize(kInitialSize);
    model_.userMacroName = [this](int slot) {
        if (slot < 0 || slot >= MacroStore::kUserSlots) {
            return std::string();
        }
        return Utf16ToUtf8(records_.macroStore.User(slot).name());
    };
    model_.selectedMacroRepeatOn = [this]() -> uint8_t {
        const int selected = records_.macroStore.selectedMacro;
        return selected >= 0 && selected < MacroStore::kUserSlots ? records_.macroStore.User(selected).repeatOn() : 0;
    };
    model_.appliedDpiCode = [this](int level) { return core_.AppliedDpiCode(level); };
    connect(tray_.get(), &TrayIcon::ShowWindowRequested, this, &CORV_GMouseDlg::ShowWindow);
    connect(tray_.get(), &TrayIcon::ExitDriverRequested, this, &CORV_GMouseDlg::ExitDriver);
}

CORV_GMouseDlg::~CORV_GMouseDlg() = default;

// Everything is loaded before the mouse is looked for, and the mouse gets the profile before
// the icon appears. A step that ends the utility (missing skin file, no mouse) has already run
// ExitDriver when this returns false.
bool CORV_GMouseDlg::StartUp(NoMousePrompt noMousePrompt) {
    StartThreads();
    AddAboutEntry();
    setWindowIcon(icon_);
    LoadConfiguration();
    setWindowTitle(UiText(TextId::MainWindowTitle, records_.language));
    if (!LoadSkinFiles()) {
        return false;
    }
    pages_ = std::make_unique<MainWindowPages>(model_, state_, *this, *this);  // controls and fonts
    if (pages_->ShapeWindow()) {
        setFixedSize(pages_->SkinSize());
    }
    LoadMacros();
    records_.ClickedLine = InitialClickedLine();
    tray_->SetMenuTexts(UiText(TextId::ShowWindow, records_.language), UiText(TextId::ExitDriver, records_.language));

    records_.DevicePresent = core_.FindDevice();
    if (!records_.DevicePresent) {
        if (noMousePrompt == NoMousePrompt::Show) {
            messages_.ShowMessage(ProgramName().toStdString(), Text(TextId::PlugInPrompt, records_.language));
        }
        ExitDriver();
        return false;
    }
    WatchDevice();
    // The mouse needs a moment after its handles are opened before it takes reports.
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ApplyProfile();
    AddTrayIcon();
    started_ = true;
    return true;
}

void CORV_GMouseDlg::ExitDriver() {
    if (ended_) {
        return;
    }
    tray_->RemoveTrayIcon();
    core_.SayGoodbye();
    ended_ = true;
    systemEvents_.reset();
    keyFilter_.reset();
    hide();
    Q_EMIT Ended();
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

void CORV_GMouseDlg::ShowAbout() {
    CAboutDlg about(icon_, this);
    about.exec();
}

void CORV_GMouseDlg::ShowSystemMenu() {
    systemMenu_->popup(mapToGlobal(QPoint(0, 0)));
}

void CORV_GMouseDlg::Repaint() { update(); }

void CORV_GMouseDlg::RepaintRegion(const QRegion& region) { update(region); }

void CORV_GMouseDlg::UpdateNow() { repaint(); }

void CORV_GMouseDlg::StartDrag(QPoint) {
    if (windowHandle() != nullptr) {
        windowHandle()->startSystemMove();
    }
}

void CORV_GMouseDlg::Minimise() { showMinimized(); }

void CORV_GMouseDlg::HideToTray() {
    showMinimized();
    hide();
    AddTrayIcon();
}

void CORV_GMouseDlg::CloseToTray() { HideToTray(); }

void CORV_GMouseDlg::ApplyProfile() {
    core_.NoteCurrentProfile(records_.currentProfile);
    core_.ApplyProfile();
    update();
}

QPoint CORV_GMouseDlg::WindowTopLeft() const { return frameGeometry().topLeft(); }

void CORV_GMouseDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (!ended_) {
        CloseToTray();
    }
}

void CORV_GMouseDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (pages_ == nullptr) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    pages_->PaintMainWindow(painter);
}

void CORV_GMouseDlg::mousePressEvent(QMouseEvent* event) {
    if (pages_ != nullptr && event->button() == Qt::LeftButton) {
        pages_->OnLeftButtonDown(event->position().toPoint());
        core_.NoteCurrentProfile(records_.currentProfile);
    }
}

void CORV_GMouseDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (pages_ != nullptr && event->button() == Qt::LeftButton) {
        pages_->OnLeftButtonUp(event->position().toPoint());
        core_.NoteCurrentProfile(records_.currentProfile);
    }
}

void CORV_GMouseDlg::mouseMoveEvent(QMouseEvent* event) {
    if (pages_ != nullptr) {
        pages_->OnMouseMove(event->position().toPoint());
    }
}

// Where the system gives the window no menu of its own (a frameless window on Linux), Alt+Space
// opens a small one instead; the About entry comes last, below a separator, as users know it.
// The same watcher brings the power events, which re-apply the profile once start-up has
// applied it, and on Windows the device changes.
void CORV_GMouseDlg::AddAboutEntry() {
    SystemEventHandlers handlers;
    handlers.powerEvent = [this] {
        if (started_ && !ended_) {
            ApplyProfile();
        }
    };
    handlers.deviceChange = [this](DeviceChange change, std::string_view path) { core_.HandleDeviceChange(change, path); };
    handlers.about = [this] { ShowAbout(); };
    systemEvents_ = WatchSystemEvents(*this, std::move(handlers));

    systemMenu_ = std::make_unique<QMenu>();
    systemMenu_->addAction(UiText(TextId::Minimize), this, [this] { Minimise(); });
    systemMenu_->addAction(UiText(TextId::Close), this, [this] { CloseToTray(); });
    systemMenu_->addSeparator();
    systemMenu_->addAction(UiText(TextId::AboutMenu), this, &CORV_GMouseDlg::ShowAbout);
    std::function<void()> openSystemMenu;
    if (!systemEvents_->HasNativeAboutEntry()) {
        openSystemMenu = [this] { ShowSystemMenu(); };
    }
    keyFilter_ = InstallKeyFilter(*this, std::move(openSystemMenu));
}

void CORV_GMouseDlg::LoadConfiguration() {
    records_.ConfigPath = records_.AppDirectory / "config.ini";
    records_.currentProfile = LoadCurrentProfile(records_.ConfigPath);
    records_.language = LoadLanguage(records_.ConfigPath);
    orv::LoadProfile(records_.ConfigPath, records_.currentProfile, false, records_.language,
                     records_.profileSettings);
    model_.configPath = records_.ConfigPath;
    core_.NoteCurrentProfile(records_.currentProfile);
}

void CORV_GMouseDlg::StartThreads() {
    core_.StartThreads([window = QPointer<CORV_GMouseDlg>(this)] {
        if (window != nullptr) {
            window->update();
        }
    });
}

// A missing description file has been reported by the reader; the utility cannot run without it.
// The skin's folder was chosen with AppDirectory: an installed copy shares one skin between users.
bool CORV_GMouseDlg::LoadSkinFiles() {
    model_.skinDirectory = records_.SkinDirectory;
    const bool loaded = LoadSkin(records_.SkinDirectory, records_.language, records_.skinLayout, messages_,
                                 ProgramName().toStdString());
    if (!loaded) {
        ExitDriver();
    }
    return loaded;
}

void CORV_GMouseDlg::LoadMacros() {
    records_.macroStore.userMacroFile = UserMacroFileFor(records_.AppDirectory, records_.language);
    core_.LoadMacros(records_.AppDirectory);
}

// The macro editor starts on the last event line of the selected user macro.
int CORV_GMouseDlg::InitialClickedLine() const {
    const MacroStore& store = records_.macroStore;
    const int selected = store.selectedMacro;
    const bool valid = selected >= 0 && selected < MacroStore::kUserSlots;
    const int events = valid ? store.User(selected).eventCount() : 0;
    return events > 0 ? 2 * events - 2 : 0;
}

void CORV_GMouseDlg::WatchDevice() {
    core_.WatchDeviceChanges([this] {
        records_.DevicePresent = false;
        ExitDriver();
    });
}

void CORV_GMouseDlg::AddTrayIcon() {
    tray_->AddTrayIcon(UiText(TextId::MainWindowTitle, records_.language));
}

}  // namespace orv
