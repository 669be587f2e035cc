#include "device/HidNotifications.h"

namespace orv {

bool RegisterHidNotifications(uintptr_t) { return false; }

}  // namespace orv
