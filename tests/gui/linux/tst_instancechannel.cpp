#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <cstring>
#include <functional>
#include <thread>

#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/InstanceChannel.h"
#include "app/SingleInstance.h"
#include "app/linux/InstanceOwner.h"

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
    void anotherUsersSocketIsNeitherAskedNorTakenOver();
    void anotherUsersSenderIsNotHeard();
    void plainNameLivesInAFolderOfTheUsersOwn();
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

// How long a sender of another user waits to be hung up on; only a failing test waits it out.
constexpr int kStrangerWaitMs = 30000;

// Bound by whoever calls it, open to everyone, as a squatter leaves it; it never blocks.
int ListeningSocket(const sockaddr_un& address) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(address.sun_path, 0777) != 0 || ::listen(fd, SOMAXCONN) != 0) {
        return -1;
    }
    return fd;
}

// Connections queued on a listening socket, taken without waiting.
int TakeQueued(int fd) {
    int taken = 0;
    for (int connection; (connection = ::accept(fd, nullptr, nullptr)) >= 0; ++taken) {
        ::close(connection);
    }
    return taken;
}

// Another user of the machine. As root the test runs work as "nobody" in a child process;
// otherwise the channel is told it serves another user, so that the test's own sockets and
// senders are a stranger's to it.
class OtherUser {
public:
    OtherUser() {
        const passwd* nobody = ::getpwnam("nobody");
        asRoot_ = ::geteuid() == 0 && nobody != nullptr;
        if (asRoot_) {
            uid_ = nobody->pw_uid;
            gid_ = nobody->pw_gid;
        } else {
            PretendInstanceOwner(::geteuid() + 1);
        }
    }
    ~OtherUser() { PretendInstanceOwner(std::nullopt); }

    // Starts work as the other user on a thread of its own, which stores what it returns in
    // result. As root the work runs in a child process, so it must do without the heap and Qt,
    // and only its result (a small count) comes back.
    std::thread Start(std::function<int()> work, std::atomic<int>& result) const {
        result = kRunning;
        return std::thread([this, work = std::move(work), &result] { result = asRoot_ ? RunAsChild(work) : work(); });
    }
    static constexpr int kRunning = -2;

    // Makes the file the other user's where the test can.
    void Own(const QString& path) const {
        if (asRoot_) {
            QVERIFY(::lchown(QFile::encodeName(path).constData(), uid_, gid_) == 0);
        }
    }

private:
    int RunAsChild(const std::function<int()>& work) const {
        int result[2];
        if (::pipe(result) != 0) {
            return -1;
        }
        const pid_t child = ::fork();
        if (child == 0) {
            const int value = ::setgroups(0, nullptr) == 0 && ::setgid(gid_) == 0 && ::setuid(uid_) == 0 ? work() : -1;
            [[maybe_unused]] const ssize_t written = ::write(result[1], &value, sizeof value);
            ::_exit(0);
        }
        ::close(result[1]);
        int value = -1;
        if (child < 0 || ::read(result[0], &value, sizeof value) != sizeof value) {
            value = -1;
        }
        ::close(result[0]);
        if (child > 0) {
            ::waitpid(child, nullptr, 0);
        }
        return value;
    }

    bool asRoot_ = false;
    uid_t uid_ = 0;
    gid_t gid_ = 0;
};

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

// A squatter that bound the name first (mode 0777) once made every start send "show" to it and
// end, so the utility never ran. Now it is not asked, not removed, and the utility runs.
void InstanceChannelTest::anotherUsersSocketIsNeitherAskedNorTakenOver() {
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                                  QFileDevice::ReadOther | QFileDevice::WriteOther |
                                                  QFileDevice::ExeOther));
    const QString name = dir.filePath(QStringLiteral("CORV_GMouseApp"));
    const sockaddr_un address = AddressOf(name);
    const OtherUser other;
    int ready[2];
    int done[2];
    QVERIFY(::pipe(ready) == 0 && ::pipe(done) == 0);
    // The squatter binds and listens, says so, and once told it is done counts what was queued.
    std::atomic<int> queued;
    std::thread squatting = other.Start(
        [&] {
            const int fd = ListeningSocket(address);
            const char said = fd >= 0 ? 'r' : 'x';
            char told = 0;
            if (::write(ready[1], &said, 1) != 1 || ::read(done[0], &told, 1) != 1 || fd < 0) {
                return -1;
            }
            return TakeQueued(fd);
        },
        queued);
    char said = 0;
    QCOMPARE(::read(ready[0], &said, 1), static_cast<ssize_t>(1));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("belongs to another user")));
    SingleInstance first(name);
    const bool runs = first.Claim();
    const bool asked = first.Send(QStringLiteral("show"));
    QCOMPARE(::write(done[1], "d", 1), static_cast<ssize_t>(1));
    squatting.join();
    for (int fd : {ready[0], ready[1], done[0], done[1]}) {
        ::close(fd);
    }
    QCOMPARE(said, 'r');
    QVERIFY(runs);
    QVERIFY(!asked);
    QCOMPARE(queued.load(), 0);
    QVERIFY(QFileInfo(name).exists());
}

void InstanceChannelTest::anotherUsersSenderIsNotHeard() {
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(
        dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ExeOther));
    const QString name = dir.filePath(QStringLiteral("CORV_GMouseApp"));
    SingleInstance first(name);
    QVERIFY(first.Claim());
    QSignalSpy commands(&first, &SingleInstance::CommandReceived);
    QSignalSpy shown(&first, &SingleInstance::ShowRequested);
    // As a system that does not hold other users to the socket's mode would let them in.
    QVERIFY(::chmod(QFile::encodeName(name).constData(), 0777) == 0);
    const sockaddr_un address = AddressOf(name);
    {
        // The stranger's line is never read: the instance hangs up on it at once, where it
        // would wait for more from a sender of its own user.
        const OtherUser other;
        std::atomic<int> turnedAway;
        std::thread sender = other.Start(
            [&] {
                const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
                static constexpr char kLine[] = "tray-exit\n";
                if (fd < 0 || ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
                    ::send(fd, kLine, sizeof kLine - 1, MSG_NOSIGNAL) != sizeof kLine - 1) {
                    return -1;
                }
                pollfd wait{fd, POLLIN, 0};
                char byte = 0;
                const bool hungUp = ::poll(&wait, 1, kStrangerWaitMs) == 1 && ::recv(fd, &byte, 1, 0) <= 0;
                ::close(fd);
                return hungUp ? 1 : 0;
            },
            turnedAway);
        const bool finished = QTest::qWaitFor([&] { return turnedAway != OtherUser::kRunning; }, 4 * kStrangerWaitMs);
        sender.join();
        QVERIFY(finished);
        QCOMPARE(turnedAway.load(), 1);
    }
    QVERIFY(first.Send(QStringLiteral("show")));
    QTRY_COMPARE(shown.count(), 1);
    QCOMPARE(commands.count(), 0);
}

// Without a runtime folder the shared temporary folder held the socket itself, where another
// user could bind the name first or plant a file in its place.
void InstanceChannelTest::plainNameLivesInAFolderOfTheUsersOwn() {
    QTemporaryDir dir;
    const QByteArray previous = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(dir.path()));
    const auto restore = qScopeGuard([&previous] {
        if (previous.isNull()) {
            qunsetenv("TMPDIR");
        } else {
            qputenv("TMPDIR", previous);
        }
    });
    const QString folder = dir.filePath(QStringLiteral("orv-gmouse-%1").arg(::geteuid()));
    QVERIFY(QDir().mkdir(folder));
    QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                              QFileDevice::WriteOther | QFileDevice::ExeOther));
    {
        SingleInstance first(QStringLiteral("CORV_GMouseApp"));
        QVERIFY(first.Claim());
        struct stat made {};
        QCOMPARE(::stat(QFile::encodeName(folder).constData(), &made), 0);
        QCOMPARE(made.st_mode & 0777, 0700u);
        QVERIFY(QFileInfo(QDir(folder).filePath(QStringLiteral("CORV_GMouseApp"))).exists());
        SingleInstance second(QStringLiteral("CORV_GMouseApp"));
        QVERIFY(!second.Claim(SingleInstance::Request::None));
    }
    {
        // Made by another user before this one's first start: the utility runs all the same.
        const OtherUser other;
        other.Own(folder);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("belongs to another user")));
        SingleInstance squatted(QStringLiteral("CORV_GMouseApp"));
        QVERIFY(squatted.Claim());
        QVERIFY(!QFileInfo(QDir(folder).filePath(QStringLiteral("CORV_GMouseApp"))).exists());
    }
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
