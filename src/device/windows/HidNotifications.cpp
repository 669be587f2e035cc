#include "device/HidNotifications.h"

#include <windows.h>
// After the Windows types; some SDKs' copies lack C linkage.
#include <dbt.h>
extern "C" {
#include <hidsdi.h>
}

namespace orv {

// The registration lives as long as the window; it is not undone before the window goes.
bool RegisterHidNotifications(uintptr_t nativeWindow) {
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    HidD_GetHidGuid(&filter.dbcc_classguid);
    return RegisterDeviceNotificationW(reinterpret_cast<HANDLE>(nativeWindow), &filter, DEVICE_NOTIFY_WINDOW_HANDLE) !=
           nullptr;
}

}  // namespace orv
