#pragma once
#include <cstdint>
#include <span>
#include <string_view>

namespace orv {

// One row of the key table: a HID keyboard usage (0xF0..0xF2 the mouse buttons of the macro
// event encoding), the name the event list shows, and the Windows virtual-key code that maps
// to it (-1 when none does).
struct KeyRow {
    uint8_t usage;
    std::string_view name;
    int virtualKey;
};

std::span<const KeyRow> KeyTable();

// A virtual key no row lists passes through as the usage (so 0xF0..0xF2 stay mouse buttons).
uint8_t UsageFromVirtualKey(uint8_t virtualKey);
// The exact inverse: the usage of a listed virtual key gives that key back, any other value
// passes through unchanged.
uint8_t VirtualKeyFromUsage(uint8_t usage);
// "NON-AVAILABLE" for a usage no row lists.
std::string_view KeyName(uint8_t usage);

}  // namespace orv
