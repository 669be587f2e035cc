#pragma once
#include <QIcon>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QMenu;
class QSystemTrayIcon;

namespace orv {

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

    // The desktop shows notification-area icons now. A host can appear or go at any time (a
    // panel restarted, an extension switched on), so the answer is asked for each time.
    bool HostAvailable() const { return hostAvailable_(); }
    // Asks this instead of the desktop (tests give their own answer).
    void SetHostCheck(std::function<bool()> hostAvailable) { hostAvailable_ = std::move(hostAvailable); }

    // Texts of the menu's two items; the menu follows the language switch, the tip does not.
    void SetMenuTexts(const QString& showWindow, const QString& exitDriver);
    QMenu* Menu() const { return menu_.get(); }

Q_SIGNALS:
    void ShowWindowRequested();
    void ExitDriverRequested();

private:
    std::unique_ptr<QMenu> menu_;
    QSystemTrayIcon* icon_;
    bool added_ = false;
    std::function<bool()> hostAvailable_;
};

}  // namespace orv
