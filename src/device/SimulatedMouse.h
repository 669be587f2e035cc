#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "device/DeviceNotifier.h"
#include "device/HidTransport.h"

namespace orv {

class Trace;

// The mouse, in process: the two vendor collections with report length 8, recording every
// feature report it receives and sending the input reports it is told to. It drives the
// device-change paths through its own plug and unplug events. Safe to use from any thread.
class SimulatedMouse : public HidTransport, public DeviceNotifier {
public:
    static constexpr uint16_t kReportLength = 8;
    static constexpr const char* kInputPath = "simulated://2f3a:0c51/col01";
    static constexpr const char* kFeaturePath = "simulated://2f3a:0c51/col02";

    struct ReceivedReport {
        std::vector<uint8_t> bytes;
        std::chrono::steady_clock::time_point time;
    };

    // With a trace, each feature report is also printed as it arrives ("report 07 10 …").
    explicit SimulatedMouse(Trace* trace = nullptr);
    ~SimulatedMouse() override;

    std::vector<HidCollectionInfo> Enumerate(size_t maxInterfaces) override;
    std::unique_ptr<HidHandle> Open(const HidCollectionInfo& collection, HidAccess access) override;

    void Start(DeviceCallback callback) override;
    void Stop() override;

    // The feature reports received so far, in order.
    std::vector<ReceivedReport> Reports() const;
    void ClearReports();
    // Blocks until at least count reports have arrived or the timeout passes; returns whether
    // they did.
    bool WaitForReports(size_t count, std::chrono::milliseconds timeout) const;

    // Queues an input report (cut or zero-padded to the input length) for the read collection.
    void SendInputReport(std::span<const uint8_t> report);
    // Every input report sent so far has been read, and a reader waits for the next one: whoever
    // reads has finished with the last report it took.
    bool InputTaken() const;

    // Removal and arrival of both collections, reported to the notifier callback (on the
    // calling thread). Unplugging fails the open handles' reads and sends.
    void Unplug();
    void Plug();

    // Whether the collections found from now on open: a mouse this user may not open (a
    // hidraw node without the udev rule) or one that fails to open for another reason is
    // still listed. Handles already open stay open.
    enum class Access { Granted, Denied, Failing };
    void SetAccess(Access access);
    // While set, every feature report sent fails and is not recorded, as with a mouse that
    // stops answering while it stays plugged in.
    void FailFeatureReports(bool fail);

private:
    struct State;
    class Handle;
    void Notify(DeviceChange change);

    // Shared with the open handles, so a handle outliving the mouse stays harmless.
    std::shared_ptr<State> state_;
};

}  // namespace orv
