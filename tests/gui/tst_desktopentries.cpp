// The menu entry, the autostart entry and the software-centre description say what the window
// says, in both languages, and start the program in a way it accepts.
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <map>
#include <string>
#include <vector>

#include "app/AppOptions.h"
#include "ui/UiText.h"

using namespace orv;

namespace {

const QString kLinux = QStringLiteral(ORV_SOURCE_DIR "/packaging/linux/");
const QString kAppId = QStringLiteral("org.orv_gmouse.ORV_GMouse");

QString Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

// The keys of the [Desktop Entry] group.
std::map<QString, QString> DesktopEntry(const QString& path) {
    std::map<QString, QString> keys;
    for (const QString& line : Read(path).split(QLatin1Char('\n'))) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 && !line.startsWith(QLatin1Char('#'))) {
            keys[line.left(equals)] = line.mid(equals + 1);
        }
    }
    return keys;
}

std::vector<std::string> ExecArguments(const QString& exec) {
    std::vector<std::string> args;
    for (const QString& word : exec.split(QLatin1Char(' '), Qt::SkipEmptyParts).mid(1)) {
        args.push_back(word.toStdString());
    }
    return args;
}

}  // namespace

class DesktopEntriesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void entriesNameTheWindowInBothLanguages_data();
    void entriesNameTheWindowInBothLanguages();
    void autostartStartsHidden();
    void metainfoMatchesTheMenuEntry();
};

void DesktopEntriesTest::entriesNameTheWindowInBothLanguages_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("menu") << kLinux + kAppId + QStringLiteral(".desktop");
    QTest::newRow("autostart") << kLinux + kAppId + QStringLiteral("-autostart.desktop");
}

void DesktopEntriesTest::entriesNameTheWindowInBothLanguages() {
    QFETCH(QString, file);
    auto entry = DesktopEntry(file);
    QCOMPARE(entry[QStringLiteral("Type")], QStringLiteral("Application"));
    QCOMPARE(entry[QStringLiteral("Name")], UiText(TextId::MainWindowTitle, Language::English()));
    QCOMPARE(entry[QStringLiteral("Name[zh_CN]")], UiText(TextId::MainWindowTitle, Language::Chinese()));
    QVERIFY(!entry[QStringLiteral("Comment")].isEmpty());
    QVERIFY(!entry[QStringLiteral("Comment[zh_CN]")].isEmpty());
    QCOMPARE(entry[QStringLiteral("Icon")], QStringLiteral("orv-gmouse"));
    QVERIFY(QFile::exists(QStringLiteral(ORV_SOURCE_DIR "/packaging/icons/orv-gmouse.svg")));
    QVERIFY(entry[QStringLiteral("Exec")].startsWith(QStringLiteral("ORV_GMouse")));
    // Menus and sessions skip the entry once the program is gone, as after a removal that kept
    // the configuration files.
    QCOMPARE(entry[QStringLiteral("TryExec")], QStringLiteral("ORV_GMouse"));
    QVERIFY(ParseAppOptions(ExecArguments(entry[QStringLiteral("Exec")])).options.has_value());
}

void DesktopEntriesTest::autostartStartsHidden() {
    auto entry = DesktopEntry(kLinux + kAppId + QStringLiteral("-autostart.desktop"));
    const ParsedAppOptions parsed = ParseAppOptions(ExecArguments(entry[QStringLiteral("Exec")]));
    QVERIFY(parsed.options.has_value());
    QVERIFY(parsed.options->hidden);
    QVERIFY(!parsed.options->simulate);
    QVERIFY2(!entry.count(QStringLiteral("NoDisplay")), "some desktops hide such entries from their startup settings");
}

void DesktopEntriesTest::metainfoMatchesTheMenuEntry() {
    const QString metainfo = Read(kLinux + kAppId + QStringLiteral(".metainfo.xml"));
    QVERIFY(metainfo.contains(QStringLiteral("<id>%1</id>").arg(kAppId)));
    QVERIFY(metainfo.contains(QStringLiteral("<launchable type=\"desktop-id\">%1.desktop</launchable>").arg(kAppId)));
    QVERIFY(
        metainfo.contains(QStringLiteral("<name>%1</name>").arg(UiText(TextId::MainWindowTitle, Language::English()))));
    QVERIFY(metainfo.contains(QStringLiteral("<name xml:lang=\"zh_CN\">%1</name>")
                                  .arg(UiText(TextId::MainWindowTitle, Language::Chinese()))));
    // Software centres offer the package when the mouse is plugged in.
    QVERIFY(metainfo.contains(QStringLiteral("<modalias>usb:v2F3Ap0C51d*</modalias>")));
    // They also show who makes it, under which licence, and where the project is.
    for (const char* tag : {"<project_license>", "<developer_name>", "<url type=\"homepage\">https://"}) {
        QVERIFY2(metainfo.contains(QLatin1String(tag)), tag);
    }
}

QTEST_GUILESS_MAIN(DesktopEntriesTest)
#include "tst_desktopentries.moc"
