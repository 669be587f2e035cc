#pragma once
#include <functional>
#include <memory>
#include <string_view>

#include "device/DeviceLink.h"

namespace orv {

// Arrival or removal of a HID interface, with its path as discovery lists it.
using DeviceCallback = std::function<void(DeviceChange change, std::string_view interfacePath)>;

// Delivers the system's HID device arrivals and removals. The callback runs on a thread of
// the notifier (the libudev monitor's own thread, or the thread that plugs the simulated
// mouse), so a window hands it over to its own thread before touching DeviceLink.
class DeviceNotifier {
public:
    virtual ~DeviceNotifier() = default;
    virtual void Start(DeviceCallback callback) = 0;
    // No callback starts after Stop returns (the libudev monitor also waits for one running).
    virtual void Stop() = 0;
};

// The system's notifier: on Linux a libudev monitor of the hidraw subsystem. nullptr where the
// system delivers device changes another way (Windows: the window's device-change message).
std::unique_ptr<DeviceNotifier> CreateSystemDeviceNotifier();

}  // namespace orv
