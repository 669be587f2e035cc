// The utility ended by the system instead of Exit Driver: a signal (logout, shutdown, kill,
// Ctrl+C) or the display gone. A key a macro holds is let go all the same, the mouse is told
// goodbye, and the socket a later start looks for is removed.
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>

#include "E2eTools.h"
#include "macro/MacroFile.h"

namespace {

using namespace e2e;

// Button 1 of the mouse plays user macro 0, which holds A through a pause of five seconds.
const QByteArray kPress = "report 07 15 04 00 00 00 00 00\n";
const QByteArray kLetGo = "report 07 16 04 ff 00 00 00 00\nreport 07 15 00 00 00 00 00 00\n";
const QByteArray kGoodbye = "report 07 20 00 00 00 00 00 00\n";

}  // namespace

class E2eEndingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void signalMidMacroEndsAsExitDriverDoes_data();
    void signalMidMacroEndsAsExitDriverDoes();
    void lostDisplayMidMacroStillLetsGo();

private:
    // Starts the program on the display and has button 1 pressed; true once the macro holds A.
    bool StartAndPress(QProcess& program, const QString& display);
    QByteArray AfterPress() const { return trace_.mid(trace_.indexOf(kPress) + kPress.size()); }
    QString Socket() const { return QDir(runtime_.path()).filePath(QStringLiteral("CORV_GMouseApp")); }

    QTemporaryDir data_;
    QTemporaryDir runtime_;
    QByteArray trace_;
};

void E2eEndingTest::initTestCase() {
    for (const char* item : {"config.ini", "Macro_CN.dat", "constMacro.dat"}) {
        QVERIFY(
            QFile::copy(QStringLiteral(ORV_DATA_DIR "/") + QLatin1String(item), data_.filePath(QLatin1String(item))));
    }
    CopyFolder(QStringLiteral(ORV_DATA_DIR "/skins"), data_.filePath(QStringLiteral("skins")));
    QFile config(data_.filePath(QStringLiteral("config.ini")));
    QVERIFY(config.open(QIODevice::ReadWrite));
    QByteArray text = config.readAll();
    QVERIFY(text.contains("CurConfig=1\r\n") && text.contains("VER_SEL=1\r\n"));
    const qsizetype k0 = text.indexOf("\r\nK0=1\r\n");
    QVERIFY(k0 > 0);
    text.replace(k0, 8, "\r\nK0=41\r\n");
    QVERIFY(config.resize(0) && config.write(text) == text.size());
    config.close();

    orv::MacroStore store;
    orv::MacroSlot& hold = store.User(0);
    hold.SetName(u"Hold");
    hold.SetEvent(0, 0x04, orv::MacroSlot::kPress, 5000);
    hold.SetEvent(1, 0x04, orv::MacroSlot::kRelease, 0);
    hold.SetEventCount(2);
    store.macroCount = 1;
    QVERIFY(orv::SaveMacroFile(QFile::encodeName(data_.filePath(QStringLiteral("Macro_EN.dat"))).toStdString(), store));

    QFile::setPermissions(runtime_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
    qputenv("ORV_GMOUSE_TEST_HOOKS", "1");
}

bool E2eEndingTest::StartAndPress(QProcess& program, const QString& display) {
    trace_.clear();
    connect(&program, &QProcess::readyReadStandardOutput, this, [&] { trace_ += program.readAllStandardOutput(); });
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(ORV_GMOUSE_EXE),
                  {QStringLiteral("--simulate"), QStringLiteral("--trace"), QStringLiteral("--dir"), data_.path()});
    return program.waitForStarted(kLongWaitMs) &&
           QTest::qWaitFor([this] { return trace_.count("report 07 ") >= 13; }, kLongWaitMs) &&
           Send(runtime_.path(), "input 06f100") &&
           QTest::qWaitFor([this] { return trace_.contains(kPress); }, kLongWaitMs);
}

void E2eEndingTest::signalMidMacroEndsAsExitDriverDoes_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGHUP") << SIGHUP;
}

void E2eEndingTest::signalMidMacroEndsAsExitDriverDoes() {
    QFETCH(int, signal);
    QProcess program;
    QVERIFY2(StartAndPress(program, qEnvironmentVariable("DISPLAY")), trace_.constData());
    QTest::qWait(300);
    QCOMPARE(::kill(static_cast<pid_t>(program.processId()), signal), 0);
    QVERIFY(program.waitForFinished(kLongWaitMs));
    trace_ += program.readAllStandardOutput();
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY2(AfterPress().startsWith(kLetGo + kGoodbye), trace_.constData());
    QVERIFY2(AfterPress().endsWith("pointer-speed 10\n"), trace_.constData());
    QVERIFY(!QFileInfo::exists(Socket()));
}

// Qt ends the process itself (exit()) when its connection to the X server breaks, as at the end
// of a session whose server goes first.
void E2eEndingTest::lostDisplayMidMacroStillLetsGo() {
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty()) {
        QSKIP("no Xvfb");
    }
    QProcess server;
    server.start(xvfb,
                 {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                  QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x1024x24")});
    QVERIFY(server.waitForStarted(kLongWaitMs));
    QByteArray number;
    QVERIFY(QTest::qWaitFor(
        [&] {
            number += server.readAllStandardOutput();
            return number.contains('\n');
        },
        kLongWaitMs));
    QProcess program;
    QVERIFY2(StartAndPress(program, QLatin1Char(':') + QString::fromLatin1(number.trimmed())), trace_.constData());

    server.kill();
    QVERIFY(server.waitForFinished(kLongWaitMs));
    QVERIFY(program.waitForFinished(kLongWaitMs));
    trace_ += program.readAllStandardOutput();
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QVERIFY2(AfterPress().startsWith(kLetGo + kGoodbye), trace_.constData());
    QVERIFY(!QFileInfo::exists(Socket()));
}

QTEST_GUILESS_MAIN(E2eEndingTest)
#include "tst_e2e_ending.moc"
