#include "device/DeviceNotifier.h"

namespace orv {

// Windows tells the window itself, through WM_DEVICECHANGE after RegisterHidNotifications.
std::unique_ptr<DeviceNotifier> CreateSystemDeviceNotifier() { return nullptr; }

}  // namespace orv
