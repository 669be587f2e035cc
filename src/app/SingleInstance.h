#pragma once
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

namespace orv {

// One running utility per user session. The first instance listens on a local socket; a later
// start only asks it to bring its window back and then ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the first instance and now listens. False when another
    // instance answered; it has been asked to show its window.
    bool Claim();

    // "CORV_GMouseApp", placed in the user's runtime folder where the system has one so that
    // the instances of other users on the same machine do not collide.
    static QString DefaultName();

    // Sends one command line to the running instance; false when none answers.
    bool Send(const QString& command);

Q_SIGNALS:
    void ShowRequested();
    // Any other line a later start sent (only test runs send any).
    void CommandReceived(const QString& command);

private:
    bool AskRunningInstance();
    void OnNewConnection();

    QString name_;
    std::unique_ptr<QLocalServer> server_;
};

}  // namespace orv
