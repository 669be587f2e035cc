#include "app/EndRequestWatch.h"

#include <QWinEventNotifier>

#include "platform/EndRequests.h"

namespace orv {

std::unique_ptr<QObject> WatchEndRequests(const EndRequests& requests, std::function<void()> end) {
    return RunOnceWhenActivated(
        std::make_unique<QWinEventNotifier>(reinterpret_cast<Qt::HANDLE>(requests.Raised().Native())), std::move(end));
}

}  // namespace orv
