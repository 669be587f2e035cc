#include "app/EndRequestWatch.h"

#include <QSocketNotifier>

#include "platform/EndRequests.h"

namespace orv {

std::unique_ptr<QObject> WatchEndRequests(const EndRequests& requests, std::function<void()> end) {
    return RunOnceWhenActivated(
        std::make_unique<QSocketNotifier>(static_cast<qintptr>(requests.Raised().Native()), QSocketNotifier::Read),
        std::move(end));
}

}  // namespace orv
