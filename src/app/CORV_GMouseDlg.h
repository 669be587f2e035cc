#pragma once
#include <QIcon>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <optional>

#include "common/Texts.h"
#include "session/Session.h"
#include "skin/SkinLayout.h"
#include "ui/PageState.h"
#include "ui/UserNotices.h"
#include "ui/WindowEvents.h"
#include "ui/WindowHost.h"

class QMenu;

namespace orv {

class MainWindowPages;
class MessageSink;
class Session;
class SystemEvents;
class TrayIcon;
class UserDialogs;
class WindowParts;

// Whether a start without the mouse tells the user to plug it in. A hidden start from the
// session's autostart must not prompt at every login of a user who has no such mouse.
enum class NoMousePrompt { Show, Skip };

// The one window of the utility. Its life is the life of the process: start-up loads
// everything and finds the mouse, closing only hides it, and ExitDriver is the one way out.
// The mouse, the threads and the records they share are the session's; what the window is
// built from once the skin is loaded (the pages, the features, the system menu) are its
// WindowParts; the window itself is the surface they draw on and act through (WindowHost), the
// Qt events it hands them, the tray icon and what the user is told.
class CORV_GMouseDlg : public QWidget, public WindowHost {
    Q_OBJECT
public:
    CORV_GMouseDlg(Session& session, MessageSink& messages, QWidget* parent = nullptr);
    // The parts end first: they act on this window, its events and its notices.
    ~CORV_GMouseDlg() override;

    // False when start-up ended the utility (missing skin file, no mouse, or a request to end
    // that came while it showed a message); Ended has then been emitted and the window must not
    // be shown.
    bool StartUp(NoMousePrompt noMousePrompt = NoMousePrompt::Show);

    // The tray menu's Exit Driver: the user is asked first about macro edits not yet saved.
    void ExitDriverCommand();
    void ShowWindow();
    void ShowAbout();
    void ShowSystemMenu();

    bool HasEnded() const { return ended_; }
    TrayIcon& Tray() { return *tray_; }
    // These once start-up has loaded the skin.
    QMenu& SystemMenu();
    MainWindowPages& Pages();
    PageState& State();
    const SkinLayout& Skin() const;
    // Skin pictures decoded and kept for the window, its menus and its warning; none while the
    // window is hidden.
    size_t PicturesHeld() const;
    // Where the language switch and the exchange controls ask the user; the window's own
    // dialogs unless replaced (tests answer them themselves). Replace before start-up.
    void UseDialogs(std::unique_ptr<UserDialogs> dialogs);

    // WindowHost
    void Repaint() override;
    void RepaintRegion(const QRegion& region) override;
    void UpdateNow() override;
    void StartDrag(QPoint clientPoint) override;
    void Minimise() override;
    void HideToTray() override;
    void CloseToTray() override;
    void ExitDriver() override;
    QPoint WindowTopLeft() const override;

    // What the apply control does, and what a resume from sleep does once start-up has applied.
    void ApplyProfile();

Q_SIGNALS:
    void Ended();
    // Each time the window is shown, also when it comes back from the notification area.
    void Shown();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void StartThreads();
    void WatchSystemEvents();
    bool LoadSkinFiles(SkinLayout& skin);
    void AddToNativeSystemMenu();
    void InstallKeyFilter();
    void FollowLanguage(Language language);
    void WatchDevice();
    void TellDeviceAccess(DeviceStatus status);
    void AddTrayIcon();

    Session& session_;
    MessageSink& messages_;
    QIcon icon_;
    UserNotices notices_;
    WindowEvents events_;
    std::unique_ptr<TrayIcon> tray_;
    std::unique_ptr<QObject> keyFilter_;
    // The system menu entries went into the system's own window menu.
    bool nativeMenu_ = false;
    std::unique_ptr<SystemEvents> systemEvents_;
    bool started_ = false;
    bool ended_ = false;
    // Where the window system refuses to move the window itself (no window manager), the
    // window follows the pointer from the point of the press that started the drag.
    std::optional<QPoint> dragFrom_;
    // Given before start-up; the parts take them.
    std::unique_ptr<UserDialogs> dialogs_;
    std::unique_ptr<WindowParts> parts_;
};

}  // namespace orv
