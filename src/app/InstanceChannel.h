#pragma once
#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace orv {

// The local channel a later start talks to the running instance over: a named pipe on Windows,
// a Unix-domain stream socket elsewhere. Requests are lines of UTF-8 text.

// Longer lines are no request of ours: the line is dropped and its sender cut off, so a stray
// writer cannot make the instance buffer without end.
constexpr qsizetype kMaxInstanceLine = 64 * 1024;

// Listens while it lives; each complete line a sender writes is handed on without its line end.
class InstanceListener : public QObject {};

using InstanceLineHandler = std::function<void(const QByteArray& line)>;

// Takes `name`, also from an instance that did not end cleanly: call it only after nobody
// answered there. Null, with the reason in `error`, when the name cannot be taken; that is also
// the case when another instance listens there by now.
std::unique_ptr<InstanceListener> ListenForInstances(const QString& name, InstanceLineHandler received, QString& error);

// Writes one line to the instance listening on `name`. False when none answers within
// `timeoutMs` or the line could not be written in that time.
bool SendToInstance(const QString& name, const QByteArray& line, int timeoutMs);

}  // namespace orv
