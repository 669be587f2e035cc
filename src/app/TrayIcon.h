#pragma once
#include <QIcon>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <span>

#include "common/Language.h"
#include "ui/WindowEvents.h"

class QMenu;
class QSystemTrayIcon;

namespace orv {

class COrvMenu;

// The notification-area icon and its two-item menu. The icon is added at most once: a later
// add keeps the tip of the first one, as the user sees one icon for the whole run.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    TrayIcon(const QIcon& icon, QObject* parent = nullptr);
    ~TrayIcon() override;

    void AddTrayIcon(const QString& tip);
    void RemoveTrayIcon();
    bool IsAdded() const { return added_; }
    QString Tip() const;

    // The menu's two items in the language; the menu follows the language switch, the tip does
    // not. Where the desktop draws tray menus itself (StatusNotifierItem), it shows the same
    // items in its own look.
    // The features' entries come between the two items.
    void SetMenuLanguage(Language language, std::span<const MenuEntry> entries = {});
    QMenu* Menu() const;

    // The desktop shows notification-area icons now. A host can appear or go at any time (a
    // panel restarted, an extension switched on), so the answer is asked for each time.
    bool HostAvailable() const { return hostAvailable_(); }
    // Asks this instead of the desktop (tests give their own answer).
    void SetHostCheck(std::function<bool()> hostAvailable) { hostAvailable_ = std::move(hostAvailable); }

Q_SIGNALS:
    void ShowWindowRequested();
    void ExitDriverRequested();

private:
    std::unique_ptr<COrvMenu> menu_;
    QSystemTrayIcon* icon_;
    bool added_ = false;
    std::function<bool()> hostAvailable_;
};

}  // namespace orv
