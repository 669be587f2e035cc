#include "app/InstanceChannel.h"

#include "app/linux/InstanceOwner.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace orv {

namespace {

std::optional<uid_t>& PretendedOwner() {
    static std::optional<uid_t> owner;
    return owner;
}

}  // namespace

uid_t InstanceOwner() { return PretendedOwner().value_or(::geteuid()); }

void PretendInstanceOwner(std::optional<uid_t> user) { PretendedOwner() = user; }

namespace {

// How long a later start waits between attempts while the running instance's queue of
// connections is full.
constexpr int kConnectRetryMs = 10;
constexpr size_t kReadChunk = 16 * 1024;
constexpr int kAcceptRetryMs = 500;

constexpr const char* kPrivateFolderPrefix = "orv-gmouse-";

// An AF_UNIX stream socket with its file path.
struct SocketAddress {
    sockaddr_un address{};
    QByteArray path;
};

std::optional<SocketAddress> AddressFor(const QString& name, QString& error);
QString SystemError(const char* what);
bool PrivateFolderReady(const QString& name, QString& error);
bool OwnedByUs(const QByteArray& path, QString& error);
bool PeerIsUs(int fd);

class OwnedFd {
public:
    explicit OwnedFd(int fd = -1) : fd_(fd) {}
    OwnedFd(const OwnedFd&) = delete;
    OwnedFd& operator=(const OwnedFd&) = delete;
    ~OwnedFd() { Reset(); }
    int Get() const { return fd_; }
    int Release() { return std::exchange(fd_, -1); }
    void Reset() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }

private:
    int fd_;
};

// One sender: collects its bytes into lines until it hangs up, and then closes itself.
class Connection : public QObject {
public:
    Connection(int fd, InstanceLineHandler received, QObject* parent)
        : QObject(parent), fd_(fd), received_(std::move(received)), notifier_(fd, QSocketNotifier::Read) {
        connect(&notifier_, &QSocketNotifier::activated, this, &Connection::Read);
    }

private:
    // One read per wake-up: a sender that never stops writing cannot hold the event loop.
    void Read() {
        char chunk[kReadChunk];
        const ssize_t got = ::read(fd_.Get(), chunk, sizeof chunk);
        if (got < 0 && (errno == EAGAIN || errno == EINTR)) {
            return;
        }
        if (got <= 0) {
            // A line the sender did not end is no request.
            Close();
            return;
        }
        pending_.append(chunk, got);
        qsizetype start = 0;
        for (qsizetype end = pending_.indexOf('\n'); end >= 0; end = pending_.indexOf('\n', start)) {
            if (end - start > kMaxInstanceLine) {
                Close();
                return;
            }
            received_(pending_.mid(start, end - start));
            start = end + 1;
        }
        pending_.remove(0, start);
        if (pending_.size() > kMaxInstanceLine) {
            Close();
        }
    }

    // The notifier goes quiet at once, but the object only goes from the event loop, as it is
    // closed from its own notifier's signal.
    void Close() {
        notifier_.setEnabled(false);
        fd_.Reset();
        pending_.clear();
        deleteLater();
    }

    OwnedFd fd_;
    InstanceLineHandler received_;
    QSocketNotifier notifier_;
    QByteArray pending_;
};

class UnixSocketListener : public InstanceListener {
public:
    UnixSocketListener(int fd, QByteArray path, InstanceLineHandler received)
        : fd_(fd), path_(std::move(path)), received_(std::move(received)), notifier_(fd, QSocketNotifier::Read) {
        struct stat file {};
        if (::stat(path_.constData(), &file) == 0) {
            file_ = file;
        }
        connect(&notifier_, &QSocketNotifier::activated, this, &UnixSocketListener::Accept);
    }

    // The name is given back only while it is still this instance's socket: after someone
    // removed it, another instance may have taken it.
    ~UnixSocketListener() override {
        notifier_.setEnabled(false);
        struct stat file {};
        if (file_ && ::stat(path_.constData(), &file) == 0 && file.st_dev == file_->st_dev &&
            file.st_ino == file_->st_ino) {
            ::unlink(path_.constData());
        }
    }

private:
    void Accept() {
        for (;;) {
            OwnedFd connection(::accept4(fd_.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
            if (connection.Get() < 0) {
                if (errno == EINTR || errno == ECONNABORTED || errno == EPROTO) {
                    continue;
                }
                if (errno != EAGAIN && errno != EWOULDBLOCK) {
                    // Out of descriptors: the sender stays queued and would wake the loop again
                    // at once, so the socket rests a while instead.
                    notifier_.setEnabled(false);
                    QTimer::singleShot(kAcceptRetryMs, this, [this] { notifier_.setEnabled(true); });
                }
                return;
            }
            // Where the system lets another user reach the socket after all (a root, a file
            // system that ignores the socket's mode), what that user writes is not heard.
            if (PeerIsUs(connection.Get())) {
                new Connection(connection.Release(), received_, this);
            }
        }
    }

    OwnedFd fd_;
    QByteArray path_;
    InstanceLineHandler received_;
    std::optional<struct stat> file_;
    QSocketNotifier notifier_;
};

int Bind(const SocketAddress& at, QString& error);
bool SomeoneListens(const SocketAddress& at);
int ConnectBefore(const SocketAddress& at, const QDeadlineTimer& deadline);
bool WriteBefore(int fd, const QByteArray& bytes, const QDeadlineTimer& deadline);

}  // namespace

std::unique_ptr<InstanceListener> ListenForInstances(const QString& name, InstanceLineHandler received,
                                                     QString& error) {
    const std::optional<SocketAddress> at = AddressFor(name, error);
    if (!at || !PrivateFolderReady(name, error)) {
        return nullptr;
    }
    OwnedFd fd(Bind(*at, error));
    if (fd.Get() < 0) {
        return nullptr;
    }
    // Still not listening, so nobody can connect before the file is the user's alone.
    if (::chmod(at->path.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd.Get(), SOMAXCONN) != 0) {
        error = SystemError("cannot listen");
        ::unlink(at->path.constData());
        return nullptr;
    }
    return std::make_unique<UnixSocketListener>(fd.Release(), at->path, std::move(received));
}

bool SendToInstance(const QString& name, const QByteArray& line, int timeoutMs) {
    QString error;
    const std::optional<SocketAddress> at = AddressFor(name, error);
    if (!at) {
        return false;
    }
    // Another user's socket is no instance of ours, whatever it answers.
    if (!OwnedByUs(at->path, error)) {
        return false;
    }
    const QDeadlineTimer deadline(timeoutMs);
    OwnedFd fd(ConnectBefore(*at, deadline));
    return fd.Get() >= 0 && PeerIsUs(fd.Get()) && WriteBefore(fd.Get(), line, deadline);
}

namespace {

// The temporary folder is every user's: a name without a folder goes into a folder of the user's
// own there, so that another user can neither bind the name first nor plant a file in its place.
QString PrivateFolder() {
    return QDir::tempPath() + QLatin1Char('/') + QLatin1String(kPrivateFolderPrefix) + QString::number(InstanceOwner());
}

std::optional<SocketAddress> AddressFor(const QString& name, QString& error) {
    const QString path = name.startsWith(QLatin1Char('/')) ? name : PrivateFolder() + QLatin1Char('/') + name;
    SocketAddress at;
    at.path = QFile::encodeName(path);
    if (at.path.isEmpty() || at.path.contains('\0')) {
        error = QStringLiteral("no usable socket path");
        return std::nullopt;
    }
    if (static_cast<size_t>(at.path.size()) >= sizeof at.address.sun_path) {
        error = QStringLiteral("the socket path is longer than the system allows (%1 bytes)")
                    .arg(sizeof at.address.sun_path - 1);
        return std::nullopt;
    }
    at.address.sun_family = AF_UNIX;
    std::memcpy(at.address.sun_path, at.path.constData(), static_cast<size_t>(at.path.size()));
    return at;
}

QString SystemError(const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

QString OtherUsers(const QByteArray& path) {
    return QStringLiteral("%1 belongs to another user").arg(QFile::decodeName(path));
}

// Made for the user alone, or found so; a folder the user owns is made the user's alone again.
bool PrivateFolderReady(const QString& name, QString& error) {
    if (name.startsWith(QLatin1Char('/'))) {
        return true;
    }
    const QByteArray folder = QFile::encodeName(PrivateFolder());
    if (::mkdir(folder.constData(), S_IRWXU) != 0 && errno != EEXIST) {
        error = SystemError("cannot make a folder for the socket");
        return false;
    }
    struct stat found {};
    if (::lstat(folder.constData(), &found) != 0) {
        error = SystemError("cannot look at the socket's folder");
        return false;
    }
    if (found.st_uid != InstanceOwner()) {
        error = OtherUsers(folder);
        return false;
    }
    if (!S_ISDIR(found.st_mode)) {
        error = QStringLiteral("%1 is not a folder").arg(QFile::decodeName(folder));
        return false;
    }
    if ((found.st_mode & (S_IRWXG | S_IRWXO)) != 0 && ::chmod(folder.constData(), S_IRWXU) != 0) {
        error = SystemError("cannot keep the socket's folder to the user");
        return false;
    }
    return true;
}

// Nothing at the path is this user's too: nothing of another user's is in the way.
bool OwnedByUs(const QByteArray& path, QString& error) {
    struct stat found {};
    if (::lstat(path.constData(), &found) != 0 || found.st_uid == InstanceOwner()) {
        return true;
    }
    error = OtherUsers(path);
    return false;
}

bool PeerIsUs(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == InstanceOwner();
}

// A file left at the path is taken over only when it is the user's own and nothing listens
// there: an instance that started at the same moment may have bound it since it was last asked.
int Bind(const SocketAddress& at, QString& error) {
    OwnedFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (fd.Get() < 0) {
        error = SystemError("cannot create a socket");
        return -1;
    }
    const auto* address = reinterpret_cast<const sockaddr*>(&at.address);
    if (::bind(fd.Get(), address, sizeof at.address) != 0) {
        if (errno != EADDRINUSE) {
            error = SystemError("cannot bind");
            return -1;
        }
        if (!OwnedByUs(at.path, error)) {
            return -1;
        }
        if (SomeoneListens(at)) {
            error = QStringLiteral("another instance listens there");
            return -1;
        }
        if ((::unlink(at.path.constData()) != 0 && errno != ENOENT) ||
            ::bind(fd.Get(), address, sizeof at.address) != 0) {
            error = SystemError("cannot take over the left-over socket");
            return -1;
        }
    }
    return fd.Release();
}

// A full queue of connections is somebody listening too.
bool SomeoneListens(const SocketAddress& at) {
    const OwnedFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (fd.Get() < 0) {
        return true;
    }
    int connected = -1;
    do {
        connected = ::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&at.address), sizeof at.address);
    } while (connected != 0 && errno == EINTR);
    return connected == 0 || errno == EAGAIN;
}

// Connecting to a Unix-domain socket never waits half-way: it succeeds, fails, or finds the
// listener's queue full (EAGAIN), which only time can change.
int ConnectBefore(const SocketAddress& at, const QDeadlineTimer& deadline) {
    OwnedFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (fd.Get() < 0) {
        return -1;
    }
    for (;;) {
        if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&at.address), sizeof at.address) == 0) {
            break;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EAGAIN || deadline.hasExpired()) {
            return -1;
        }
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(kConnectRetryMs, deadline.remainingTime())));
    }
    return fd.Release();
}

bool WriteBefore(int fd, const QByteArray& bytes, const QDeadlineTimer& deadline) {
    qsizetype written = 0;
    while (written < bytes.size()) {
        // The reader may have hung up: that is an answer, not a reason to end this process.
        const ssize_t sent =
            ::send(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written), MSG_NOSIGNAL);
        if (sent >= 0) {
            written += sent;
            continue;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EAGAIN) {
            return false;
        }
        pollfd wait{fd, POLLOUT, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(deadline.remainingTime()));
        if (ready == 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

}  // namespace orv
