#pragma once
#include <QObject>
#include <functional>
#include <memory>

namespace orv {

class EndRequests;

// Runs end once, from the event loop, after the system asked the process to end (see
// EndRequests); the request itself arrives where only signal-safe steps are allowed. Watches
// while the returned object lives.
std::unique_ptr<QObject> WatchEndRequests(const EndRequests& requests, std::function<void()> end);

// The system's notifier (a socket notifier on Linux, an event notifier on Windows) on what a
// raised request leaves ready for good: it goes quiet after the first wake-up.
template <typename Notifier>
std::unique_ptr<QObject> RunOnceWhenActivated(std::unique_ptr<Notifier> notifier, std::function<void()> end) {
    Notifier* watch = notifier.get();
    QObject::connect(watch, &Notifier::activated, watch, [watch, end = std::move(end)] {
        watch->setEnabled(false);
        end();
    });
    return notifier;
}

}  // namespace orv
