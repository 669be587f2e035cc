#include "device/SimulatedMouse.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "common/Trace.h"
#include "device/DeviceLink.h"

namespace orv {

struct SimulatedMouse::State {
    explicit State(Trace* t) : trace(t) {}

    Trace* trace;
    std::mutex mutex;
    // Readers of input reports and waiters for feature reports wait apart: a report playback
    // sends must not wake the listener, which a real mouse's write never does, and wakes a
    // waiter only once the count it waits for is there.
    std::condition_variable inputChanged;
    std::condition_variable reportsArrived;
    std::vector<size_t> reportCountsAwaited;
    bool plugged = true;
    SimulatedMouse::Access access = SimulatedMouse::Access::Granted;
    bool failFeatureReports = false;
    uint64_t generation = 0;  // counts unplugs: handles of an earlier plug stay dead
    std::vector<ReceivedReport> reports;
    std::deque<std::vector<uint8_t>> inputQueue;
    int readersWaiting = 0;
    DeviceCallback callback;
};

class SimulatedMouse::Handle : public HidHandle {
public:
    Handle(std::shared_ptr<State> state, HidAccess access, bool featureCollection, uint64_t generation)
        : state_(std::move(state)), access_(access), feature_(featureCollection), generation_(generation) {}

    bool SendFeatureReport(std::span<const uint8_t> report) override {
        std::lock_guard lock(state_->mutex);
        // The mouse takes feature report 7 of its full length on the write collection only.
        if (!Alive() || state_->failFeatureReports || !feature_ || access_ != HidAccess::Write ||
            report.size() != kReportLength || report[0] != 7) {
            return false;
        }
        state_->reports.push_back({{report.begin(), report.end()}, std::chrono::steady_clock::now()});
        if (state_->trace != nullptr) {
            state_->trace->Report(report);
        }
        const size_t received = state_->reports.size();
        if (std::any_of(state_->reportCountsAwaited.begin(), state_->reportCountsAwaited.end(),
                        [received](size_t count) { return received >= count; })) {
            state_->reportsArrived.notify_all();
        }
        return true;
    }

    HidReadResult ReadInputReport(std::span<uint8_t> buffer) override {
        std::unique_lock lock(state_->mutex);
        if (feature_ || access_ != HidAccess::Read) {
            return HidReadResult::Failed;
        }
        ++state_->readersWaiting;
        state_->inputChanged.wait(lock, [&] { return cancelPending_ || !Alive() || !state_->inputQueue.empty(); });
        --state_->readersWaiting;
        if (cancelPending_) {
            cancelPending_ = false;
            return HidReadResult::Cancelled;
        }
        if (!Alive()) {
            return HidReadResult::Failed;
        }
        const std::vector<uint8_t> report = std::move(state_->inputQueue.front());
        state_->inputQueue.pop_front();
        std::fill(buffer.begin(), buffer.end(), uint8_t{0});
        std::copy_n(report.begin(), std::min(report.size(), buffer.size()), buffer.begin());
        return HidReadResult::Ok;
    }

    void CancelRead() override {
        std::lock_guard lock(state_->mutex);
        cancelPending_ = true;
        state_->inputChanged.notify_all();
    }

private:
    bool Alive() const { return state_->plugged && state_->generation == generation_; }

    std::shared_ptr<State> state_;
    HidAccess access_;
    bool feature_;
    uint64_t generation_;
    bool cancelPending_ = false;  // guarded by the state's mutex
};

SimulatedMouse::SimulatedMouse(Trace* trace) : state_(std::make_shared<State>(trace)) {}

SimulatedMouse::~SimulatedMouse() = default;

std::vector<HidCollectionInfo> SimulatedMouse::Enumerate(size_t maxInterfaces) {
    std::lock_guard lock(state_->mutex);
    std::vector<HidCollectionInfo> list;
    if (state_->plugged) {
        const bool denied = state_->access == Access::Denied;
        list.push_back({kInputPath, 0x2F3A, 0x0C51, {0xFF00, 0x0001, kReportLength, 0}, denied});
        list.push_back({kFeaturePath, 0x2F3A, 0x0C51, {0xFF01, 0x0001, 0, kReportLength}, denied});
    }
    if (list.size() > maxInterfaces) {
        list.resize(maxInterfaces);
    }
    return list;
}

std::unique_ptr<HidHandle> SimulatedMouse::Open(const HidCollectionInfo& collection, HidAccess access) {
    std::lock_guard lock(state_->mutex);
    const bool input = collection.path == kInputPath;
    const bool feature = collection.path == kFeaturePath;
    if (!state_->plugged || (!input && !feature) || state_->access != Access::Granted) {
        return nullptr;
    }
    return std::make_unique<Handle>(state_, access, feature, state_->generation);
}

void SimulatedMouse::Start(DeviceCallback callback) {
    std::lock_guard lock(state_->mutex);
    state_->callback = std::move(callback);
}

void SimulatedMouse::Stop() {
    std::lock_guard lock(state_->mutex);
    state_->callback = nullptr;
}

std::vector<SimulatedMouse::ReceivedReport> SimulatedMouse::Reports() const {
    std::lock_guard lock(state_->mutex);
    return state_->reports;
}

void SimulatedMouse::ClearReports() {
    std::lock_guard lock(state_->mutex);
    state_->reports.clear();
}

bool SimulatedMouse::WaitForReports(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(state_->mutex);
    state_->reportCountsAwaited.push_back(count);
    const bool arrived =
        state_->reportsArrived.wait_for(lock, timeout, [&] { return state_->reports.size() >= count; });
    state_->reportCountsAwaited.erase(
        std::find(state_->reportCountsAwaited.begin(), state_->reportCountsAwaited.end(), count));
    return arrived;
}

void SimulatedMouse::SendInputReport(std::span<const uint8_t> report) {
    std::vector<uint8_t> bytes(kReportLength, 0);
    std::copy_n(report.begin(), std::min<size_t>(report.size(), kReportLength), bytes.begin());
    std::lock_guard lock(state_->mutex);
    state_->inputQueue.push_back(std::move(bytes));
    state_->inputChanged.notify_all();
}

bool SimulatedMouse::InputTaken() const {
    std::lock_guard lock(state_->mutex);
    return state_->inputQueue.empty() && state_->readersWaiting > 0;
}

void SimulatedMouse::Unplug() {
    {
        std::lock_guard lock(state_->mutex);
        if (!state_->plugged) {
            return;
        }
        state_->plugged = false;
        ++state_->generation;
        state_->inputQueue.clear();
        state_->inputChanged.notify_all();
    }
    Notify(DeviceChange::Removal);
}

void SimulatedMouse::Plug() {
    {
        std::lock_guard lock(state_->mutex);
        if (state_->plugged) {
            return;
        }
        state_->plugged = true;
    }
    Notify(DeviceChange::Arrival);
}

void SimulatedMouse::SetAccess(Access access) {
    std::lock_guard lock(state_->mutex);
    state_->access = access;
}

void SimulatedMouse::FailFeatureReports(bool fail) {
    std::lock_guard lock(state_->mutex);
    state_->failFeatureReports = fail;
}

void SimulatedMouse::Notify(DeviceChange change) {
    DeviceCallback callback;
    {
        std::lock_guard lock(state_->mutex);
        callback = state_->callback;
    }
    if (callback) {
        // One notice per interface, as the system sends them.
        callback(change, kInputPath);
        callback(change, kFeaturePath);
    }
}

}  // namespace orv
