// The program's standard options work where no display is, as from a terminal over ssh or in a
// packaging check.
#include <QTest>

#include "E2eTools.h"

class E2eOptionsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answeredWithoutADisplay_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("--version") << QStringList{QStringLiteral("--version")}
                                   << QStringLiteral("ORV_GMouse " ORV_VERSION);
        QTest::newRow("--help") << QStringList{QStringLiteral("--help")}
                                << QStringLiteral(
                                       "usage: ORV_GMouse [--simulate] [--trace] [--timestamps] [--dir DIR] "
                                       "[--hidden] [--screenshots DIR]");
        QTest::newRow("after other options") << QStringList{QStringLiteral("--simulate"), QStringLiteral("--version")}
                                             << QStringLiteral("ORV_GMouse " ORV_VERSION);
    }

    void answeredWithoutADisplay() {
        QFETCH(QStringList, args);
        QFETCH(QString, firstLine);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            environment.remove(QLatin1String(name));
        }
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(ORV_GMOUSE_EXE), args);
        QVERIFY(program.waitForFinished(e2e::kLongWaitMs));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        const QStringList lines = QString::fromUtf8(program.readAllStandardOutput()).split(QLatin1Char('\n'));
        QCOMPARE(lines.first(), firstLine);
        if (args.contains(QStringLiteral("--help"))) {
            QVERIFY(
                lines.contains(QStringLiteral("  --version          print the program's name and version and end")));
        } else {
            QCOMPARE(lines.size(), 2);  // one line, ended
        }
    }

    // A folder may be called --version; it is no request for the version then.
    void folderNamedLikeAnOptionIsAFolder() {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(ORV_GMOUSE_EXE),
                      {QStringLiteral("--dir"), QStringLiteral("--version"), QStringLiteral("--frobnicate")});
        QVERIFY(program.waitForFinished(e2e::kLongWaitMs));
        QCOMPARE(program.exitCode(), 2);
        QVERIFY(program.readAllStandardError().contains("unknown argument: --frobnicate\n"));
    }
};

QTEST_GUILESS_MAIN(E2eOptionsTest)
#include "tst_e2e_options.moc"
