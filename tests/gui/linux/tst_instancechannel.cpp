#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "app/InstanceChannel.h"
#include "app/SingleInstance.h"

using namespace orv;

// The Unix-domain socket a running instance listens on, met by senders and files that are not
// another instance of ours.
class InstanceChannelTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void socketOfAnInstanceThatDidNotEndIsTakenOver();
    void nameIsNotTakenFromAnInstanceThatListens();
    void strayOrBrokenSendersDoNoHarm_data();
    void strayOrBrokenSendersDoNoHarm();
    void instanceRemovesOnlyItsOwnSocketFile();
    void plainNameLivesInTheTemporaryFolder();
    void pathTooLongForASocketStillStartsTheUtility();
};

namespace {

sockaddr_un AddressOf(const QString& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray encoded = QFile::encodeName(path);
    std::memcpy(address.sun_path, encoded.constData(), static_cast<size_t>(encoded.size()));
    return address;
}

int ConnectTo(const QString& path) {
    const sockaddr_un address = AddressOf(path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// True once the instance has closed its end: a read then finds the end of the stream.
bool ClosedByPeer(int fd) {
    pollfd wait{fd, POLLIN, 0};
    char byte = 0;
    return ::poll(&wait, 1, 0) == 1 && ::recv(fd, &byte, 1, MSG_DONTWAIT) <= 0;
}

}  // namespace

void InstanceChannelTest::socketOfAnInstanceThatDidNotEndIsTakenOver() {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("CORV_GMouseApp"));
    {
        // Bound and never removed: what an instance that was killed leaves behind.
        const sockaddr_un address = AddressOf(name);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0);
        ::close(fd);
    }
    SingleInstance first(name);
    QVERIFY(first.Claim());
    QSignalSpy shown(&first, &SingleInstance::ShowRequested);
    struct stat file {};
    QCOMPARE(::stat(QFile::encodeName(name).constData(), &file), 0);
    QVERIFY(S_ISSOCK(file.st_mode));
    QCOMPARE(file.st_mode & 0777, 0600u);

    SingleInstance second(name);
    QVERIFY(!second.Claim());
    QTRY_COMPARE(shown.count(), 1);
}

// Two starts at the same moment both find nobody answering; the later one must not remove the
// socket the earlier one just bound.
void InstanceChannelTest::nameIsNotTakenFromAnInstanceThatListens() {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("CORV_GMouseApp"));
    SingleInstance first(name);
    QVERIFY(first.Claim());
    QSignalSpy commands(&first, &SingleInstance::CommandReceived);

    QString error;
    const InstanceLineHandler ignore = [](const QByteArray&) {};
    QVERIFY(ListenForInstances(name, ignore, error) == nullptr);
    QVERIFY(!error.isEmpty());
    QVERIFY(first.Send(QStringLiteral("tray-exit")));
    QTRY_COMPARE(commands.count(), 1);
}

void InstanceChannelTest::strayOrBrokenSendersDoNoHarm_data() {
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<bool>("cutOff");
    QTest::newRow("connects and hangs up") << QByteArray() << false;
    QTest::newRow("unfinished line") << QByteArray("close") << false;
    QTest::newRow("overlong line") << QByteArray(kMaxInstanceLine + 1, 'x') + "\nclose\n" << true;
    QTest::newRow("overlong unfinished line") << QByteArray(kMaxInstanceLine + 1, 'x') << true;
}

void InstanceChannelTest::strayOrBrokenSendersDoNoHarm() {
    QFETCH(QByteArray, sent);
    QFETCH(bool, cutOff);
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("CORV_GMouseApp"));
    SingleInstance first(name);
    QVERIFY(first.Claim());
    QStringList received;
    QObject::connect(&first, &SingleInstance::CommandReceived,
                     [&received](const QString& command) { received << command; });

    const int fd = ConnectTo(name);
    QVERIFY(fd >= 0);
    QCOMPARE(::send(fd, sent.constData(), static_cast<size_t>(sent.size()), MSG_NOSIGNAL), sent.size());
    if (cutOff) {
        QTRY_VERIFY(ClosedByPeer(fd));
    }
    ::close(fd);

    SingleInstance second(name);
    QVERIFY(second.Send(QStringLiteral("tray-exit")));
    QTRY_COMPARE(received.size(), 1);
    QTest::qWait(50);
    QCOMPARE(received, QStringList{QStringLiteral("tray-exit")});
}

// An instance started after this one's socket was removed owns the name now.
void InstanceChannelTest::instanceRemovesOnlyItsOwnSocketFile() {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("CORV_GMouseApp"));
    {
        SingleInstance ended(name);
        QVERIFY(ended.Claim());
    }
    QVERIFY(!QFile::exists(name));
    {
        SingleInstance robbed(name);
        QVERIFY(robbed.Claim());
        QVERIFY(QFile::remove(name));
        QFile other(name);
        QVERIFY(other.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::exists(name));
}

void InstanceChannelTest::plainNameLivesInTheTemporaryFolder() {
    QTemporaryDir dir;
    const QByteArray previous = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(dir.path()));
    SingleInstance first(QStringLiteral("CORV_GMouseApp"));
    const bool claimed = first.Claim();
    const bool placed = QFileInfo(dir.filePath(QStringLiteral("CORV_GMouseApp"))).exists();
    if (previous.isNull()) {
        qunsetenv("TMPDIR");
    } else {
        qputenv("TMPDIR", previous);
    }
    QVERIFY(claimed);
    QVERIFY(placed);
}

void InstanceChannelTest::pathTooLongForASocketStillStartsTheUtility() {
    QTemporaryDir dir;
    const QString name = dir.filePath(QString(sizeof(sockaddr_un::sun_path), QLatin1Char('n')));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("longer than the system allows")));
    SingleInstance first(name);
    QVERIFY(first.Claim());
    QVERIFY(!first.Send(QStringLiteral("show")));
}

QTEST_GUILESS_MAIN(InstanceChannelTest)
#include "tst_instancechannel.moc"
