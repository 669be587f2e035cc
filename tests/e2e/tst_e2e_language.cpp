// The real program under Xvfb: the header's language buttons, clicked as a user clicks them,
// switch the title and the stored language to Chinese and back.
#include <QPoint>
#include <QTemporaryDir>
#include <QTest>

#include "E2eTools.h"

namespace {

using namespace e2e;

QString Xdotool() { return QStringLiteral(ORV_XDOTOOL); }

QString Title(const QString& id) { return RunTool(Xdotool(), {QStringLiteral("getwindowname"), id}).trimmed(); }

// The window's top-left corner on the screen.
QPoint Origin(const QString& id) {
    const QString info = RunTool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id});
    const auto x = QRegularExpression(QStringLiteral("Absolute upper-left X:\\s+(-?\\d+)")).match(info);
    const auto y = QRegularExpression(QStringLiteral("Absolute upper-left Y:\\s+(-?\\d+)")).match(info);
    return {x.captured(1).toInt(), y.captured(1).toInt()};
}

// The centre of a main-page region as the skin's description file places it.
QPoint RegionCentre(const QString& skinFile, int region) {
    QFile file(skinFile);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString text = QString::fromUtf8(file.readAll());
    const auto match =
        QRegularExpression(QStringLiteral("(?m)^%1=(\\d+),(\\d+),(\\d+),(\\d+),").arg(region)).match(text);
    return {match.captured(1).toInt() + match.captured(3).toInt() / 2,
            match.captured(2).toInt() + match.captured(4).toInt() / 2};
}

QString VerSel(const QString& config) {
    QFile file(config);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QRegularExpression(QStringLiteral("(?m)^VER_SEL=(\\S*)"))
        .match(QString::fromUtf8(file.readAll()))
        .captured(1);
}

}  // namespace

class E2eLanguageTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void switchesToChineseAndBack();
    void cleanupTestCase();

private:
    void Click(const QString& window, QPoint client);
    bool Send(const QByteArray& command);

    QTemporaryDir data_;
    QTemporaryDir runtime_;
    QProcess program_;
};

void E2eLanguageTest::initTestCase() {
    QVERIFY(qEnvironmentVariableIsSet("DISPLAY"));
    if (Xdotool().isEmpty()) {
        QSKIP("xdotool is missing: nothing can click into the window");
    }
    for (const char* item : {"config.ini", "Macro_CN.dat", "Macro_EN.dat", "constMacro.dat"}) {
        QVERIFY(
            QFile::copy(QStringLiteral(ORV_DATA_DIR "/") + QLatin1String(item), data_.filePath(QLatin1String(item))));
        QFile::setPermissions(data_.filePath(QLatin1String(item)), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    CopyFolder(QStringLiteral(ORV_DATA_DIR "/skins"), data_.filePath(QStringLiteral("skins")));
    QFile::setPermissions(runtime_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
    qputenv("ORV_GMOUSE_TEST_HOOKS", "1");
}

void E2eLanguageTest::switchesToChineseAndBack() {
    const QString config = data_.filePath(QStringLiteral("config.ini"));
    QCOMPARE(VerSel(config), QStringLiteral("1"));
    program_.start(QStringLiteral(ORV_GMOUSE_EXE),
                   {QStringLiteral("--simulate"), QStringLiteral("--dir"), data_.path()});
    QVERIFY(program_.waitForStarted(kLongWaitMs));
    QString window;
    QTRY_VERIFY_WITH_TIMEOUT(!(window = MainWindowId()).isEmpty(), kLongWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(Title(window), QStringLiteral("TALVEN Q7 Gaming Mouse"), kLongWaitMs);

    // Both languages' skins place the two buttons alike.
    const QString skin = data_.filePath(QStringLiteral("skins/INI_EN/skin_main_en.ini"));
    Click(window, RegionCentre(skin, 17));
    QTRY_COMPARE_WITH_TIMEOUT(Title(window), QStringLiteral("岚峰Q7电竞游戏鼠标"), kLongWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(VerSel(config), QStringLiteral("0"), kLongWaitMs);

    Click(window, RegionCentre(skin, 18));
    QTRY_COMPARE_WITH_TIMEOUT(Title(window), QStringLiteral("TALVEN Q7 Gaming Mouse"), kLongWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(VerSel(config), QStringLiteral("1"), kLongWaitMs);

    QVERIFY(Send("tray-exit"));
    QVERIFY(program_.waitForFinished(kLongWaitMs));
    QCOMPARE(program_.exitCode(), 0);
}

void E2eLanguageTest::cleanupTestCase() {
    if (program_.state() != QProcess::NotRunning) {
        program_.kill();
        program_.waitForFinished(kLongWaitMs);
    }
}

void E2eLanguageTest::Click(const QString& window, QPoint client) {
    const QPoint at = Origin(window) + client;
    RunTool(Xdotool(), {QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x()),
                        QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")});
}

bool E2eLanguageTest::Send(const QByteArray& command) { return e2e::Send(runtime_.path(), command); }

QTEST_GUILESS_MAIN(E2eLanguageTest)
#include "tst_e2e_language.moc"
