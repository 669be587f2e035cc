#include "app/SingleInstance.h"

#include <QDir>

#include "app/InstanceChannel.h"

namespace orv {

namespace {

const QString kShowRequest = QStringLiteral("show");
constexpr int kConnectTimeoutMs = 3000;

}  // namespace

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::DefaultName() {
    const QString name = QStringLiteral("CORV_GMouseApp");
    // Only desktops that give each user session a runtime folder set this. Elsewhere the plain
    // name is the user's too: a named pipe of the session on Windows, a socket in a folder of the
    // user's own on Linux.
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
    QString error;
    listener_ = ListenForInstances(
        name_, [this](const QByteArray& line) { OnLine(line); }, error);
    if (listener_ == nullptr) {
        // Another start may have taken the name since nobody answered; it then gets the request.
        if (AskRunningInstance(request)) {
            return false;
        }
        // A utility that cannot guard its single instance is still wanted: it runs unguarded.
        qWarning("%s: a second start will not find this one: %s", qUtf8Printable(name_), qUtf8Printable(error));
    }
    return true;
}

void SingleInstance::StopListening() { listener_.reset(); }

// An empty line asks for nothing but still tells whether anyone answers.
bool SingleInstance::AskRunningInstance(Request request) {
    return Send(request == Request::Show ? kShowRequest : QString());
}

bool SingleInstance::Send(const QString& command) {
    return SendToInstance(name_, command.toUtf8() + '\n', kConnectTimeoutMs);
}

// Each request is acted on later, from the event loop: an action may open a modal box, whose own
// event loop would otherwise deliver further requests, or a sender's hang-up, in the middle of
// reading this one.
void SingleInstance::OnLine(const QByteArray& line) {
    const QString request = QString::fromUtf8(line).trimmed();
    QMetaObject::invokeMethod(
        this, [this, request] { Act(request); }, Qt::QueuedConnection);
}

void SingleInstance::Act(const QString& line) {
    if (line == kShowRequest) {
        Q_EMIT ShowRequested();
    } else if (!line.isEmpty()) {
        Q_EMIT CommandReceived(line);
    }
}

}  // namespace orv
