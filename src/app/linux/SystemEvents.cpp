#include "app/SystemEvents.h"

#include <QDBusConnection>

namespace orv {

namespace {

// logind announces PrepareForSleep(true) before a suspend and (false) after the resume. Without
// a system bus (containers, minimal sessions) no power event ever arrives. The end of the
// session reaches the process as a signal (EndRequests), not through the window.
class LogindEvents : public SystemEvents {
    Q_OBJECT
public:
    explicit LogindEvents(SystemEventHandlers handlers) : handlers_(std::move(handlers)) {
        QDBusConnection bus = QDBusConnection::systemBus();
        if (bus.isConnected()) {
            bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                        SLOT(OnPrepareForSleep(bool)));
        }
    }

    bool AddToNativeMenu(std::vector<SystemMenuAction>, SystemMenuAction) override { return false; }
    bool WindowMessage(const QByteArray&, void*, qintptr*) override { return false; }

private Q_SLOTS:
    void OnPrepareForSleep(bool) {
        if (handlers_.powerEvent) {
            handlers_.powerEvent();
        }
    }

private:
    SystemEventHandlers handlers_;
};

}  // namespace

std::unique_ptr<SystemEvents> WatchSystemEvents(QWidget&, SystemEventHandlers handlers) {
    return std::make_unique<LogindEvents>(std::move(handlers));
}

bool SingleClickShowsWindow() { return true; }

}  // namespace orv

#include "SystemEvents.moc"
