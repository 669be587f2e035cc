#pragma once
#include <cstdint>

namespace orv {

// Asks the system to tell the window (its native handle) about every HID interface that
// arrives or is removed, as WM_DEVICECHANGE with a device-interface broadcast. Returns false
// where the system has no such notices (Linux: the device link watches udev instead).
bool RegisterHidNotifications(uintptr_t nativeWindow);

}  // namespace orv
