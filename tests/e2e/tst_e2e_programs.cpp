// Profiles that follow the program in front, as a user meets them: a window manager that keeps
// _NET_ACTIVE_WINDOW (openbox), two programs (xterm says its process, xmessage does not), a rule
// for one, and the focus moved between them with xdotool.
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "E2eTools.h"

namespace {

using namespace e2e;

QString Tool(const char* name) { return QStandardPaths::findExecutable(QLatin1String(name)); }

bool WindowManagerRuns() {
    return RunTool(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
        .contains(QStringLiteral("window id"));
}

// The first window of the class, once it is mapped; empty text before.
QString WindowOfClass(const QString& windowClass) {
    return RunTool(QStringLiteral(ORV_XDOTOOL),
                   {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--class"), windowClass})
        .section(QLatin1Char('\n'), 0, 0)
        .trimmed();
}

bool Activate(const QString& window) {
    return QProcess::execute(QStringLiteral(ORV_XDOTOOL),
                             {QStringLiteral("windowactivate"), QStringLiteral("--sync"), window}) == 0;
}

}  // namespace

class E2eProgramsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void theProfileFollowsTheProgramInFront();
    void cleanupTestCase();

private:
    int Reports() const { return static_cast<int>(trace_.count("report 07 ")); }
    QString CurConfig() const {
        QFile file(data_.filePath(QStringLiteral("config.ini")));
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        const QString text = QString::fromUtf8(file.readAll());
        const qsizetype at = text.indexOf(QStringLiteral("CurConfig="));
        return at < 0 ? QString() : text.mid(at + 10, 1);
    }

    QTemporaryDir data_;
    QTemporaryDir runtime_;
    QProcess windowManager_;
    QProcess xterm_;
    QProcess xmessage_;
    QProcess program_;
    QByteArray trace_;
};

void E2eProgramsTest::initTestCase() {
    QVERIFY(qEnvironmentVariableIsSet("DISPLAY"));
    if (Tool("openbox").isEmpty() || Tool("xterm").isEmpty() || Tool("xmessage").isEmpty() ||
        QLatin1String(ORV_XDOTOOL).isEmpty()) {
        QSKIP("openbox, xterm, xmessage or xdotool missing (scripts/setup installs them)");
    }
    for (const char* item : {"config.ini", "Macro_CN.dat", "Macro_EN.dat", "constMacro.dat"}) {
        QVERIFY(
            QFile::copy(QStringLiteral(ORV_DATA_DIR "/") + QLatin1String(item), data_.filePath(QLatin1String(item))));
    }
    CopyFolder(QStringLiteral(ORV_DATA_DIR "/skins"), data_.filePath(QStringLiteral("skins")));
    // xmessage names no process: its rule matches the instance name of its WM_CLASS. When no rule
    // matches, profile 1 (the shipped "CurConfig") comes back.
    QFile rules(data_.filePath(QStringLiteral("AppProfiles.ini")));
    QVERIFY(rules.open(QIODevice::WriteOnly));
    rules.write("[Follow]\r\nEnabled=1\r\nNoRule=1\r\nRules=1\r\n[Rule1]\r\nProgram=xmessage\r\nProfile=3\r\n");
    rules.close();
    QFile::setPermissions(runtime_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
    qputenv("ORV_GMOUSE_TEST_HOOKS", "1");
    // An own configuration folder, so that no openbox setup of the machine's user is read.
    qputenv("XDG_CONFIG_HOME", data_.filePath(QStringLiteral("xdg")).toUtf8());

    windowManager_.start(Tool("openbox"), {});
    QVERIFY(windowManager_.waitForStarted(kLongWaitMs));
    QTRY_VERIFY_WITH_TIMEOUT(WindowManagerRuns(), kLongWaitMs);
}

void E2eProgramsTest::theProfileFollowsTheProgramInFront() {
    connect(&program_, &QProcess::readyReadStandardOutput, this,
            [this] { trace_ += program_.readAllStandardOutput(); });
    program_.start(QStringLiteral(ORV_GMOUSE_EXE), {QStringLiteral("--simulate"), QStringLiteral("--trace"),
                                                    QStringLiteral("--hidden"), QStringLiteral("--dir"), data_.path()});
    QVERIFY(program_.waitForStarted(kLongWaitMs));
    QTRY_COMPARE_WITH_TIMEOUT(Reports(), 13, kLongWaitMs);
    QCOMPARE(CurConfig(), QStringLiteral("1"));

    // xterm first, in front before xmessage appears: it has no rule, and the "no rule" profile
    // is the one in use, so nothing is sent.
    xterm_.start(Tool("xterm"), {QStringLiteral("-e"), QStringLiteral("cat")});
    QString xterm;
    QTRY_VERIFY_WITH_TIMEOUT(!(xterm = WindowOfClass(QStringLiteral("XTerm"))).isEmpty(), kLongWaitMs);
    QVERIFY(Activate(xterm));
    xmessage_.start(Tool("xmessage"), {QStringLiteral("a program with a rule")});
    QString xmessage;
    QTRY_VERIFY_WITH_TIMEOUT(!(xmessage = WindowOfClass(QStringLiteral("Xmessage"))).isEmpty(), kLongWaitMs);

    // Each change of program is one apply of its profile: thirteen reports and "CurConfig".
    QVERIFY(Activate(xmessage));
    QTRY_VERIFY_WITH_TIMEOUT(CurConfig() == QStringLiteral("3") && Reports() == 26, kLongWaitMs);
    QVERIFY(Activate(xterm));
    QTRY_VERIFY_WITH_TIMEOUT(CurConfig() == QStringLiteral("1") && Reports() == 39, kLongWaitMs);
    QVERIFY(Activate(xmessage));
    QTRY_VERIFY_WITH_TIMEOUT(CurConfig() == QStringLiteral("3") && Reports() == 52, kLongWaitMs);

    // Whatever the program still had to send comes before its goodbye: nothing beyond one apply
    // per change.
    QVERIFY(Send(runtime_.path(), "tray-exit"));
    QVERIFY(program_.waitForFinished(kLongWaitMs));
    trace_ += program_.readAllStandardOutput();
    const qsizetype goodbye = trace_.indexOf("report 07 20 00 00");
    QVERIFY2(goodbye >= 0, trace_.constData());
    QCOMPARE(static_cast<int>(trace_.left(goodbye).count("report 07 ")), 52);
}

void E2eProgramsTest::cleanupTestCase() {
    for (QProcess* process : {&program_, &xmessage_, &xterm_, &windowManager_}) {
        if (process->state() != QProcess::NotRunning) {
            process->terminate();
            process->waitForFinished(kLongWaitMs);
        }
    }
}

QTEST_MAIN(E2eProgramsTest)
#include "tst_e2e_programs.moc"
