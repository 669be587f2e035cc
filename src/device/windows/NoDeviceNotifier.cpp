#include "device/DeviceNotifier.h"

namespace orv {

// On Windows the window receives device changes as a message and hands them to DeviceLink.
std::unique_ptr<DeviceNotifier> CreateSystemDeviceNotifier() { return nullptr; }

}  // namespace orv
