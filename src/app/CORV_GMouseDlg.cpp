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
#include "app/WindowTexts.h"
#include "ui/UiText.h"
#include "common/Messages.h"
#include "common/Utf.h"
#include "platform/DeviceAccessFix.h"
#include "platform/FreedMemory.h"
#include "platform/KeyboardCapture.h"
#include "session/Session.h"
#include "skin/SkinLayout.h"
#include "ui/FunctionMenus.h"
#include "ui/LanguageSwitch.h"
#include "ui/LightingPreview.h"
#include "ui/MacroEditorFeature.h"
#include "ui/MainWindowPages.h"
#include "ui/ProgramProfiles.h"
#include "ui/ProgramProfilesDialog.h"
#include "ui/ProfileCommands.h"
#include "ui/QtUserDialogs.h"
#include "ui/WindowKeyboardGrab.h"

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
      model_{session.Settings(),
             session.CurrentProfile(),
             session.CurrentLanguage(),
             skinLayout_,
             session.Folders().ConfigPath,
             session.Folders().SkinDirectory,
             {},
             {},
             {}},
      tray_(std::make_unique<TrayIcon>(icon_)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    resize(kInitialSize);
    model_.userMacroName = [this](int slot) {
        if (slot < 0 || slot >= MacroStore::kUserSlots) {
            return std::string();
        }
        return Utf16ToUtf8(session_.Macros().User(slot).name());
    };
    model_.selectedMacroRepeatOn = [this]() -> uint8_t {
        const MacroStore& store = session_.Macros();
        const int selected = store.selectedMacro;
        return selected >= 0 && selected < MacroStore::kUserSlots ? store.User(selected).repeatOn() : 0;
    };
    model_.appliedDpiCode = [this](int level) -> uint8_t {
        const auto& codes = session_.Applied().appliedDpiCode;
        return level >= 0 && level < static_cast<int>(codes.size()) ? codes[static_cast<size_t>(level)].load() : 0;
    };
    model_.userMacroCount = [this] { return static_cast<int>(session_.Macros().macroCount); };
    connect(tray_.get(), &TrayIcon::ShowWindowRequested, this, &CORV_GMouseDlg::ShowWindow);
    connect(tray_.get(), &TrayIcon::ExitDriverRequested, this, &CORV_GMouseDlg::ExitDriverCommand);
    connect(tray_.get(), &TrayIcon::ProgramProfilesRequested, this, &CORV_GMouseDlg::ShowProgramProfiles);
}

CORV_GMouseDlg::~CORV_GMouseDlg() = default;

// Everything is loaded before the mouse is looked for, and the mouse gets the profile before
// the icon appears. A step that ends the utility (missing skin file, no mouse) has already run
// ExitDriver when this returns false.
bool CORV_GMouseDlg::StartUp(NoMousePrompt noMousePrompt) {
    StartThreads();
    AddAboutEntry();
    setWindowIcon(icon_);
    const ProfileFound config = session_.LoadConfiguration();
    const Language language = session_.CurrentLanguage();
    setWindowTitle(UiText(TextId::MainWindowTitle, language));
    if (!LoadSkinFiles()) {
        return false;
    }
    pages_ = std::make_unique<MainWindowPages>(model_, state_, *this, *this);  // controls and fonts
    CreateFeatures();
    if (pages_->ShapeWindow()) {
        setFixedSize(pages_->SkinSize());
    }
    const Session::MacrosLoaded macros = session_.LoadMacros();
    macroEditor_->Editor().InitClickedLine();
    FollowLanguage(language);

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
        ConfigUnreadable();
    }
    for (const std::filesystem::path& file : macros.unreadable) {
        Tell(TextId::MacroFileUnreadable, file);
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
            TellUnreached(applied);
        }
        TellNotSaved(applied.saved);
    }
    if (ended_) {
        return false;
    }
    // After the start-up apply: the program in front may choose another profile at once.
    programProfiles_->Load();
    AddTrayIcon();
    started_ = true;
    return true;
}

void CORV_GMouseDlg::ExitDriver() {
    if (ended_) {
        return;
    }
    StopRecording();
    CloseFunctionMenu();
    tray_->RemoveTrayIcon();
    if (preview_ != nullptr) {
        preview_->Stop();
    }
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
    if (ended_ || (features_.macroEditor != nullptr && !features_.macroEditor->SettleUnsavedEdits())) {
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

void CORV_GMouseDlg::ShowSystemMenu() { systemMenu_->popup(mapToGlobal(QPoint(0, 0))); }

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
    CloseFunctionMenu();
    if (!tray_->HostAvailable()) {
        if (!noTraySaid_) {
            noTraySaid_ = true;
            Tell(TextId::NoTrayMinimises);
        }
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
    ProfileApplied(session_.ApplyProfile());
    update();
}

void CORV_GMouseDlg::ProfileApplied(const ApplyResult& result) {
    TellUnreached(result);
    TellNotSaved(result.saved);
}

void CORV_GMouseDlg::ProfileSaved(WriteResult saved) { TellNotSaved(saved); }

void CORV_GMouseDlg::ConfigUnreadable() {
    if (!configUnreadableSaid_) {
        configUnreadableSaid_ = true;
        Tell(TextId::ConfigUnreadable, session_.Folders().ConfigPath);
    }
}

QPoint CORV_GMouseDlg::WindowTopLeft() const { return frameGeometry().topLeft(); }

// A paint that ran while the window was minimised drew the small icon into the frame the window
// system keeps, and restoring shows that frame again unless the whole window is painted anew.
// A minimised window shows no Stop button, so a recording ends there.
void CORV_GMouseDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        StopRecording();
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
    StopRecording();
    QWidget::hideEvent(event);
    if (event->spontaneous()) {
        return;
    }
    if (pages_ != nullptr) {
        pages_->ReleasePictures();
    }
    if (functionMenus_ != nullptr) {
        functionMenus_->ReleasePictures();
    }
    ReturnFreedMemory();
    ReleaseFontPages();
}

void CORV_GMouseDlg::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Q_EMIT Shown();
}

size_t CORV_GMouseDlg::PicturesHeld() const {
    return (pages_ != nullptr ? pages_->PicturesHeld() : 0) +
           (functionMenus_ != nullptr ? functionMenus_->PicturesHeld() : 0);
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
    }
}

void CORV_GMouseDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragFrom_.reset();
    }
    if (pages_ != nullptr && event->button() == Qt::LeftButton) {
        pages_->OnLeftButtonUp(event->position().toPoint());
    }
}

void CORV_GMouseDlg::mouseMoveEvent(QMouseEvent* event) {
    if (dragFrom_ && (event->buttons() & Qt::LeftButton) != 0) {
        move(event->globalPosition().toPoint() - *dragFrom_);
        return;
    }
    if (pages_ != nullptr) {
        pages_->OnMouseMove(event->position().toPoint());
    }
}

// Where the system gives the window no menu of its own (a frameless window on Linux), Alt+Space
// opens a small one instead; the About entry comes last, below a separator, as users know it.
// The same watcher brings the power events, which re-apply the profile once start-up has
// applied it, and on Windows the device changes and the end of the session.
void CORV_GMouseDlg::AddAboutEntry() {
    SystemEventHandlers handlers;
    handlers.powerEvent = [this] {
        if (started_ && !ended_) {
            ApplyProfile();
        }
    };
    handlers.deviceChange = [this](DeviceChange change, std::string_view path) {
        session_.HandleDeviceChange(change, path);
    };
    handlers.about = [this] { ShowAbout(); };
    handlers.sessionEnding = [this] { ExitDriver(); };
    systemEvents_ = WatchSystemEvents(*this, std::move(handlers));

    systemMenu_ = std::make_unique<QMenu>();
    systemMenu_->addAction(UiText(TextId::Minimize), this, [this] { Minimise(); });
    systemMenu_->addAction(UiText(TextId::Close), this, [this] { CloseToTray(); });
    programProfilesEntry_ = systemMenu_->addAction(UiText(TextId::ProgramProfilesMenu, session_.CurrentLanguage()),
                                                   this, &CORV_GMouseDlg::ShowProgramProfiles);
    systemMenu_->addSeparator();
    systemMenu_->addAction(UiText(TextId::AboutMenu), this, &CORV_GMouseDlg::ShowAbout);
    std::function<void()> openSystemMenu;
    if (!systemEvents_->HasNativeAboutEntry()) {
        openSystemMenu = [this] { ShowSystemMenu(); };
    }
    keyFilter_ = InstallKeyFilter(*this, std::move(openSystemMenu));
}

// The function menu belongs to the window on screen; it must not stay behind when the window goes.
void CORV_GMouseDlg::CloseFunctionMenu() {
    if (functionMenus_ != nullptr) {
        functionMenus_->CloseFunctionMenu();
    }
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
                window->TellNotSaved(saved);
            }
        });
}

// A missing description file has been reported by the reader; the utility cannot run without it.
// An installed copy shares one skin between users, away from the user's own files.
bool CORV_GMouseDlg::LoadSkinFiles() {
    const bool loaded = LoadSkin(session_.Folders().SkinDirectory, session_.CurrentLanguage(), skinLayout_, messages_,
                                 ProgramName().toStdString());
    if (!loaded) {
        ExitDriver();
    }
    return loaded;
}

// Every feature the pages hand their controls to is made here, and wired to what must follow
// it. Features that follow the language register with LanguageChanged, in the order of the
// switch: the macro lists, the menus, then the title.
void CORV_GMouseDlg::CreateFeatures() {
    const std::string caption = ProgramName().toStdString();
    functionMenus_ = std::make_unique<FunctionMenus>(model_, state_, pages_->Fonts(), *this, *this);
    if (dialogs_ == nullptr) {
        dialogs_ = std::make_unique<QtUserDialogs>(this);
    }
    profileCommands_ = std::make_unique<ProfileCommands>(session_, *dialogs_, messages_, *this, caption);
    languageSwitch_ =
        std::make_unique<LanguageSwitch>(session_, skinLayout_, session_.Folders().SkinDirectory, messages_, caption);
    preview_ = std::make_unique<LightingPreview>(model_, state_, session_.Applied().appliedLedStatus,
                                                 session_.Settings().dpiLevel, *this);
    CreateMacroEditor();
    programProfiles_ = std::make_unique<ProgramProfiles>(
        ProgramRulesPath(session_.Folders().AppDirectory),
        ProgramProfiles::Hooks{[this](int32_t n) { pages_->ChooseAndApplyProfile(n); },
                               [this] { return session_.AppliedProfile(); },
                               [this](TextId text, const std::filesystem::path& file) { Tell(text, file); },
                               {}});
    features_.functionMenus = functionMenus_.get();
    features_.profileExchange = profileCommands_.get();
    features_.language = languageSwitch_.get();
    features_.preview = preview_.get();
    features_.programProfiles = programProfiles_.get();
    features_.macroEditor = macroEditor_.get();
    features_.recording = macroEditor_.get();
    pages_->SetFeatures(features_);

    connect(profileCommands_.get(), &ProfileCommands::UserMacrosReplacing, this, &CORV_GMouseDlg::StopRecording);
    connect(profileCommands_.get(), &ProfileCommands::UserMacrosReplaced, this, [this] {
        RefreshMacroLists();
        Repaint();
    });
    connect(languageSwitch_.get(), &LanguageSwitch::UserMacrosReplacing, this, &CORV_GMouseDlg::StopRecording);
    connect(languageSwitch_.get(), &LanguageSwitch::SkinMissing, this, &CORV_GMouseDlg::ExitDriver);
    connect(languageSwitch_.get(), &LanguageSwitch::LanguageChanged, this, [this] {
        RefreshMacroLists();
        Repaint();
    });
    connect(languageSwitch_.get(), &LanguageSwitch::LanguageChanged, this, &CORV_GMouseDlg::FollowLanguage);
}

// Where the system offers a program no keyboard hook, the window grabs the keyboard itself while
// a macro is recorded. What the page draws of a recording is the editor's.
void CORV_GMouseDlg::CreateMacroEditor() {
    keyboardCapture_ = CreateSystemKeyboardCapture();
    if (keyboardCapture_ == nullptr) {
        keyboardCapture_ = CreateWindowKeyboardCapture(*this);
    }
    macroEditor_ = std::make_unique<MacroEditorFeature>(MacroEditorFeatureContext{
        session_.Macros(), session_.Settings().macroMode, session_.CurrentLanguage(), *keyboardCapture_,
        SystemTimeOfDay(), messages_, *dialogs_, *this, *this, session_.Folders().AppDirectory});
    const MacroEditor& editor = macroEditor_->Editor();
    model_.recording = [&editor] { return editor.Recording(); };
    model_.downLines = [&editor] { return editor.DownLines(); };
    model_.upLines = [&editor] { return editor.UpLines(); };
}

// Before the user macros are replaced, a recording into them ends. A keyboard captured for a
// recording never outlives the window that shows how to stop it (hidden, minimised, ended).
void CORV_GMouseDlg::StopRecording() {
    if (features_.recording != nullptr) {
        features_.recording->StopRecording();
    }
}

void CORV_GMouseDlg::RefreshMacroLists() {
    if (state_.CurrentPage == kAdvancedPage && features_.macroEditor != nullptr) {
        features_.macroEditor->RefreshMacroList(pages_->AdvancedControls());
    }
}

// The tray icon keeps the tip it was added with; its menu follows the language.
void CORV_GMouseDlg::FollowLanguage(Language language) {
    tray_->SetMenuLanguage(language);
    if (programProfilesEntry_) {
        programProfilesEntry_->setText(UiText(TextId::ProgramProfilesMenu, language));
    }
    setWindowTitle(UiText(TextId::MainWindowTitle, language));
}

void CORV_GMouseDlg::ShowProgramProfiles() {
    if (ended_ || !programProfiles_) {
        return;
    }
    ProgramProfilesDialog dialog(*programProfiles_, session_.CurrentLanguage(), this);
    dialog.exec();
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

// Said once, until an apply reaches the mouse again: a message box at every click would not
// tell the user anything new.
void CORV_GMouseDlg::TellUnreached(const ApplyResult& result) {
    const bool unreached = result.reportsFailed > 0;
    if (unreached && !unreachedSaid_) {
        Tell(TextId::MouseUnreachable);
    }
    unreachedSaid_ = unreached;
}

// Said once, until a save succeeds again; the settings stay in the window meanwhile. A file
// another program keeps locked is told apart from one that cannot be written: waiting for that
// program helps.
void CORV_GMouseDlg::TellNotSaved(WriteResult saved) {
    if (!saved && saved != lastSaved_) {
        Tell(saved.Busy() ? TextId::FileBusy : TextId::SettingsNotSaved, session_.Folders().ConfigPath);
    }
    lastSaved_ = saved;
}

void CORV_GMouseDlg::Tell(TextId text) {
    messages_.ShowMessage(ProgramName().toStdString(), Text(text, session_.CurrentLanguage()));
}

void CORV_GMouseDlg::Tell(TextId text, const std::filesystem::path& file) {
    const QString filled = UiText(text, session_.CurrentLanguage()).arg(QString::fromStdString(PathToUtf8(file)));
    messages_.ShowMessage(ProgramName().toStdString(), filled.toStdString());
}

void CORV_GMouseDlg::AddTrayIcon() { tray_->AddTrayIcon(UiText(TextId::MainWindowTitle, session_.CurrentLanguage())); }

}  // namespace orv
