#include "app/InstanceChannel.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace orv {

namespace {

// A named pipe of the user's session, which Qt's local server makes.
class PipeListener : public InstanceListener {
public:
    explicit PipeListener(InstanceLineHandler received) : received_(std::move(received)) {
        server_.setSocketOptions(QLocalServer::UserAccessOption);
        connect(&server_, &QLocalServer::newConnection, this, &PipeListener::OnNewConnection);
    }

    bool Listen(const QString& name) {
        if (server_.listen(name)) {
            return true;
        }
        // Nobody answered, so the name is left over from an instance that did not end cleanly.
        QLocalServer::removeServer(name);
        return server_.listen(name);
    }

    QString ErrorString() const { return server_.errorString(); }

private:
    void OnNewConnection() {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                while (socket->canReadLine()) {
                    QByteArray line = socket->readLine();
                    line.chop(1);
                    if (line.size() > kMaxInstanceLine) {
                        socket->abort();
                        return;
                    }
                    received_(line);
                }
                if (socket->bytesAvailable() > kMaxInstanceLine) {
                    socket->abort();
                }
            });
        }
    }

    InstanceLineHandler received_;
    QLocalServer server_;
};

}  // namespace

std::unique_ptr<InstanceListener> ListenForInstances(const QString& name, InstanceLineHandler received,
                                                     QString& error) {
    auto listener = std::make_unique<PipeListener>(std::move(received));
    if (!listener->Listen(name)) {
        error = listener->ErrorString();
        return nullptr;
    }
    return listener;
}

bool SendToInstance(const QString& name, const QByteArray& line, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs)) {
        return false;
    }
    socket.write(line);
    // A short line may have gone before the wait begins.
    const bool written = socket.waitForBytesWritten(timeoutMs) || socket.bytesToWrite() == 0;
    socket.disconnectFromServer();
    return written;
}

}  // namespace orv
