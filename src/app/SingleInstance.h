#pragma once
#include <QObject>
#include <QString>
#include <memory>

namespace orv {

class InstanceListener;

// One running utility per user session. The first instance listens on a local socket; a later
// start only asks it to bring its window back and then ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // What a later start asks of the instance that already runs.
    enum class Request { Show, None };

    // True when this process is the first instance and now listens. False when another
    // instance answered; it has been given the request.
    bool Claim(Request request = Request::Show);

    // "CORV_GMouseApp", placed in the user's runtime folder where the system has one so that
    // the instances of other users on the same machine do not collide (without one, the channel
    // keeps the plain name to the user itself).
    static QString DefaultName();

    // Sends one command line to the running instance; false when none answers.
    bool Send(const QString& command);

    // Listens no more and removes the socket a later start looks for, as ending does.
    void StopListening();

Q_SIGNALS:
    void ShowRequested();
    // Any other line a later start sent (only test runs send any).
    void CommandReceived(const QString& command);

private:
    bool AskRunningInstance(Request request);
    void OnLine(const QByteArray& line);
    void Act(const QString& line);

    QString name_;
    std::unique_ptr<InstanceListener> listener_;
};

}  // namespace orv
