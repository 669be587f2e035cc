#include "app/PowerWatch.h"

#include <QDBusConnection>

namespace orv {

namespace {

// logind announces PrepareForSleep(true) before a suspend and (false) after the resume.
class LogindPowerWatch : public QObject {
    Q_OBJECT
public:
    explicit LogindPowerWatch(std::function<void()> onPowerEvent) : onPowerEvent_(std::move(onPowerEvent)) {
        QDBusConnection bus = QDBusConnection::systemBus();
        if (bus.isConnected()) {
            bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                        SLOT(OnPrepareForSleep(bool)));
        }
    }

private Q_SLOTS:
    void OnPrepareForSleep(bool) { onPowerEvent_(); }

private:
    std::function<void()> onPowerEvent_;
};

}  // namespace

std::unique_ptr<QObject> WatchPowerEvents(QWidget&, std::function<void()> onPowerEvent) {
    return std::make_unique<LogindPowerWatch>(std::move(onPowerEvent));
}

}  // namespace orv

#include "PowerWatch.moc"
