#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "device/HidTransport.h"

namespace orv {

// The top-level collections of a HID report descriptor, in order, with the lengths the
// system's HID capabilities would give them. A truncated or malformed descriptor gives what
// could be read before the fault.
std::vector<HidCaps> ParseReportDescriptor(std::span<const uint8_t> descriptor);

}  // namespace orv
