#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>

#include "app/TrayIcon.h"

using namespace orv;

// Panels that speak StatusNotifierItem (KDE Plasma, GNOME's AppIndicator extension) pass a click
// on the icon to the program only as a single click.
class TrayClickTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aSingleClickShowsTheWindow() {
        TrayIcon tray{QIcon()};
        auto* icon = tray.findChild<QSystemTrayIcon*>();
        QVERIFY(icon != nullptr);
        QSignalSpy shown(&tray, &TrayIcon::ShowWindowRequested);
        Q_EMIT icon->activated(QSystemTrayIcon::Trigger);
        QCOMPARE(shown.count(), 1);
        Q_EMIT icon->activated(QSystemTrayIcon::DoubleClick);
        QCOMPARE(shown.count(), 2);
        Q_EMIT icon->activated(QSystemTrayIcon::Context);
        QCOMPARE(shown.count(), 2);
    }
};

QTEST_MAIN(TrayClickTest)
#include "tst_trayclick.moc"
