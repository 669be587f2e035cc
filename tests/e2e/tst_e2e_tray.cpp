// The real program in a real notification area (Xvfb + trayer): the icon embeds, a second
// start brings the hidden window back and ends, and Exit Driver says goodbye to the mouse.
#include <QTemporaryDir>
#include <QTest>

#include "E2eTools.h"

namespace {

using namespace e2e;

QString PanelId() {
    return WindowId(RootTree(), QRegularExpression(QStringLiteral("\"panel\": \\(\"panel\" \"trayer\"\\)")));
}

bool IconInPanel() {
    const QString panel = PanelId();
    if (panel.isEmpty()) {
        return false;
    }
    const QString tree = RunTool(QStringLiteral("xwininfo"), {QStringLiteral("-tree"), QStringLiteral("-id"), panel});
    return tree.contains(QStringLiteral("(\"ORV_GMouse\" \"ORV_GMouse\")"));
}

// The window's pixels as the X server holds them.
QByteArray Pixels(const QString& id) {
    QProcess process;
    process.start(QStringLiteral("import"), {QStringLiteral("-window"), id, QStringLiteral("-depth"),
                                             QStringLiteral("8"), QStringLiteral("rgb:-")});
    if (!process.waitForFinished(kLongWaitMs)) {
        return {};
    }
    return process.readAllStandardOutput();
}

bool IsViewable(const QString& id) {
    return RunTool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id}).contains(QStringLiteral("IsViewable"));
}

// The simulated mouse's stand-in window, by its title.
bool VirtualMouseViewable() {
    const QString id = WindowId(RootTree(), QRegularExpression(QStringLiteral("\"virtual mouse\": \\(\"ORV_GMouse\"")));
    return !id.isEmpty() && IsViewable(id);
}

}  // namespace

class E2eTrayTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void trayIconSecondStartAndExitDriver();
    void hiddenStartShowsOnlyTheIconUntilItIsUsed();
    void hiddenStartWithoutTheMouseEndsQuietly();
    void cleanupTestCase();

private:
    bool Send(const QByteArray& command);
    QString Program() const { return QStringLiteral(ORV_GMOUSE_EXE); }
    QStringList Arguments() const {
        return {QStringLiteral("--simulate"), QStringLiteral("--trace"), QStringLiteral("--dir"), data_.path()};
    }

    QTemporaryDir data_;
    QTemporaryDir runtime_;
    QProcess first_;
    QByteArray trace_;
};

void E2eTrayTest::initTestCase() {
    QVERIFY(qEnvironmentVariableIsSet("DISPLAY"));
    QTRY_VERIFY_WITH_TIMEOUT(!PanelId().isEmpty(), kLongWaitMs);
    for (const char* item : {"config.ini", "Macro_CN.dat", "Macro_EN.dat", "constMacro.dat"}) {
        QVERIFY(
            QFile::copy(QStringLiteral(ORV_DATA_DIR "/") + QLatin1String(item), data_.filePath(QLatin1String(item))));
    }
    CopyFolder(QStringLiteral(ORV_DATA_DIR "/skins"), data_.filePath(QStringLiteral("skins")));
    QFile::setPermissions(runtime_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // Both instances meet in this folder only, and accept the commands a click would give.
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
    qputenv("ORV_GMOUSE_TEST_HOOKS", "1");
}

void E2eTrayTest::trayIconSecondStartAndExitDriver() {
    connect(&first_, &QProcess::readyReadStandardOutput, this, [this] { trace_ += first_.readAllStandardOutput(); });
    first_.start(Program(), Arguments());
    QVERIFY(first_.waitForStarted(kLongWaitMs));
    QTRY_VERIFY_WITH_TIMEOUT(trace_.count("report 07 ") >= 13, kLongWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(IconInPanel(), kLongWaitMs);

    QString window;
    QTRY_VERIFY_WITH_TIMEOUT(!(window = MainWindowId()).isEmpty(), kLongWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(IsViewable(window), kLongWaitMs);
    QByteArray skin;
    QTRY_VERIFY_WITH_TIMEOUT(!(skin = Pixels(window)).isEmpty(), kLongWaitMs);
    QVERIFY(Send("close"));
    QTRY_VERIFY_WITH_TIMEOUT(!IsViewable(window), kLongWaitMs);
    QVERIFY(IconInPanel());

    QProcess second;
    second.start(Program(), Arguments());
    QVERIFY(second.waitForFinished(kLongWaitMs));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QVERIFY2(second.readAllStandardOutput().isEmpty(), "the second start sent nothing to a mouse");
    QTRY_VERIFY_WITH_TIMEOUT(IsViewable(window), kLongWaitMs);
    // Back from the notification area the window shows its skin, not the icon a minimised window
    // paints (without a window manager, as here, a minimise before the hide came back).
    QTRY_VERIFY_WITH_TIMEOUT(Pixels(window) == skin, 10000);
    QCOMPARE(first_.state(), QProcess::Running);

    const qsizetype before = trace_.size();
    QVERIFY(Send("tray-exit"));
    QVERIFY(first_.waitForFinished(kLongWaitMs));
    trace_ += first_.readAllStandardOutput();
    QCOMPARE(first_.exitStatus(), QProcess::NormalExit);
    QCOMPARE(first_.exitCode(), 0);
    const QByteArray ending = trace_.mid(before);
    QVERIFY2(ending.startsWith("report 07 20 00 00"), ending.constData());
    QVERIFY2(ending.contains("\npointer-speed 10\n"), ending.constData());
    QTRY_VERIFY_WITH_TIMEOUT(!IconInPanel(), kLongWaitMs);
}

// The session's autostart: the mouse gets its profile and the icon appears, but no window does
// until the icon's menu asks for it. The simulated mouse's window comes with the main window.
void E2eTrayTest::hiddenStartShowsOnlyTheIconUntilItIsUsed() {
    QProcess hidden;
    QByteArray trace;
    connect(&hidden, &QProcess::readyReadStandardOutput, this, [&] { trace += hidden.readAllStandardOutput(); });
    hidden.start(Program(), Arguments() << QStringLiteral("--hidden"));
    QVERIFY(hidden.waitForStarted(kLongWaitMs));
    QTRY_VERIFY_WITH_TIMEOUT(trace.count("report 07 ") >= 13, kLongWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(IconInPanel(), kLongWaitMs);
    const QString before = MainWindowId();
    QVERIFY2(before.isEmpty() || !IsViewable(before), "a hidden start shows no window");
    QVERIFY(!VirtualMouseViewable());

    QVERIFY(Send("tray-show"));
    QString window;
    QTRY_VERIFY_WITH_TIMEOUT(!(window = MainWindowId()).isEmpty() && IsViewable(window), kLongWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(VirtualMouseViewable(), kLongWaitMs);

    QVERIFY(Send("tray-exit"));
    QVERIFY(hidden.waitForFinished(kLongWaitMs));
    QCOMPARE(hidden.exitCode(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!IconInPanel(), kLongWaitMs);
}

// No machine running these tests has the mouse, so the real device search finds none: at a
// login without the mouse nothing waits for a click.
void E2eTrayTest::hiddenStartWithoutTheMouseEndsQuietly() {
    QProcess hidden;
    hidden.start(Program(), {QStringLiteral("--hidden"), QStringLiteral("--dir"), data_.path()});
    QVERIFY(hidden.waitForFinished(kLongWaitMs));
    QCOMPARE(hidden.exitStatus(), QProcess::NormalExit);
    QCOMPARE(hidden.exitCode(), 0);
    QVERIFY(!IconInPanel());
}

void E2eTrayTest::cleanupTestCase() {
    if (first_.state() != QProcess::NotRunning) {
        first_.kill();
        first_.waitForFinished(kLongWaitMs);
    }
}

bool E2eTrayTest::Send(const QByteArray& command) { return e2e::Send(runtime_.path(), command); }

QTEST_GUILESS_MAIN(E2eTrayTest)
#include "tst_e2e_tray.moc"
