#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

#include "device/HidTransport.h"

namespace orv {

// A handle slot of the link. "Held" without a handle is a collection that was found but could
// not be opened: it counts as held when discovery decides to stop, and every read or send
// through it fails.
enum class HandleState { None, Invalid, Open };

enum class DeviceChange { Arrival, Removal };

// The mouse's two collections: the one that sends input report 6 (read) and the one that
// takes feature report 7 (write). One instance lives for the whole process.
//
// Discovery and device changes run on the window thread; the listener reads and the two
// sending threads write through the link at any time, so the handles are swapped under a lock
// and each read or send keeps its handle alive until it returns.
class DeviceLink {
public:
    static constexpr uint32_t VendorId = 0x2F3A;
    static constexpr uint32_t ProductId = 0x0C51;
    static constexpr size_t kMaxInterfaces = 100;
    static constexpr uint16_t kReadUsagePage = 0xFF00;
    static constexpr uint16_t kWriteUsagePage = 0xFF01;
    static constexpr uint16_t kVendorUsage = 0x0001;

    explicit DeviceLink(HidTransport& transport);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // The collection belongs to the mouse (its vendor and product).
    static bool IsOurs(const HidCollectionInfo& collection);

    // Looks for the mouse among at most 100 interfaces and opens both collections; returns the
    // new DevicePresent. Handles of an earlier discovery are closed first, so a re-discovery
    // never leaks them and never stops early on handles of a mouse that is gone.
    bool FindDevice();

    // The interface path a device notification names is the path discovery stopped at
    // (letter case ignored).
    bool IsOurInterface(std::string_view interfacePath) const;

    // The window's device-change handling: an arrival of our interface while absent
    // re-discovers; a removal of our interface clears DevicePresent and runs ExitDriver.
    void HandleDeviceChange(DeviceChange change, std::string_view interfacePath);
    // What ends the program when the mouse is removed; owned by the application.
    void SetExitDriver(std::function<void()> exitDriver);

    std::string DevicePath() const;
    bool DevicePresent() const;
    HidCaps ReadCaps() const;
    HidCaps WriteCaps() const;
    HandleState ReadHandleState() const;
    HandleState WriteHandleState() const;
    // A matching collection was found but the user may not open it.
    bool AccessDenied() const;

    // Sends on the write collection; false when it is not open or the send failed.
    bool SendFeatureReport(std::span<const uint8_t> report);
    // Blocks for the next input report of the read collection, at most buffer.size() bytes.
    // Fails at once when the collection is not open.
    HidReadResult ReadInputReport(std::span<uint8_t> buffer);
    // Wakes a blocked ReadInputReport (it returns Cancelled).
    void CancelRead();

private:
    struct Slot {
        HandleState state = HandleState::None;
        std::shared_ptr<HidHandle> handle;
        HidCaps caps;
    };
    void CloseHandlesLocked();
    Slot OpenSlot(const HidCollectionInfo& collection, HidAccess access);

    HidTransport& transport_;
    mutable std::mutex mutex_;
    std::string devicePath_;
    bool devicePresent_ = false;
    bool accessDenied_ = false;
    Slot read_;
    Slot write_;
    std::function<void()> exitDriver_;
};

// Letter case ignored (ASCII), as Windows compares interface paths.
bool SamePathIgnoringCase(std::string_view a, std::string_view b);

}  // namespace orv
