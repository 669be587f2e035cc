#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace orv {

namespace {

const QString kShowRequest = QStringLiteral("show");
constexpr int kConnectTimeoutMs = 3000;

}  // namespace

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::DefaultName() {
    const QString name = QStringLiteral("CORV_GMouseApp");
    // Only desktops that give each user session a runtime folder set this; elsewhere (Windows)
    // the plain name already belongs to the session.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty() || !QDir(runtime).exists()) {
        return name;
    }
    return QDir(runtime).filePath(name);
}

bool SingleInstance::Claim(Request request) {
    if (AskRunningInstance(request)) {
        return false;
    }
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        // Nobody answered, so the name is left over from an instance that did not end cleanly.
        QLocalServer::removeServer(name_);
        server_->listen(name_);
    }
    connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::OnNewConnection);
    return true;
}

// An empty line asks for nothing but still tells whether anyone answers.
bool SingleInstance::AskRunningInstance(Request request) {
    return Send(request == Request::Show ? kShowRequest : QString());
}

bool SingleInstance::Send(const QString& command) {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kConnectTimeoutMs)) {
        return false;
    }
    socket.write((command + QLatin1Char('\n')).toUtf8());
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::OnNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // Each request is acted on later, from the event loop: an action may open a modal box,
        // whose own event loop would see the sender hang up and delete the socket while it is
        // still reading.
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                const QString line = QString::fromUtf8(socket->readLine()).trimmed();
                QMetaObject::invokeMethod(
                    this, [this, line] { Act(line); }, Qt::QueuedConnection);
            }
        });
    }
}

void SingleInstance::Act(const QString& line) {
    if (line == kShowRequest) {
        Q_EMIT ShowRequested();
    } else if (!line.isEmpty()) {
        Q_EMIT CommandReceived(line);
    }
}

}  // namespace orv
