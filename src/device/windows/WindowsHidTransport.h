#pragma once
#include <memory>

#include "device/HidTransport.h"

namespace orv {

// The system's HID collections through SetupAPI and the HID class driver.
std::unique_ptr<HidTransport> CreateSystemHidTransport();

}  // namespace orv
