#include "platform/WindowMessages.h"

#include <algorithm>

#include "common/Utf.h"

namespace orv {

namespace {

// DEV_BROADCAST_HDR: size, device type, reserved (three 32-bit fields). The interface variant
// follows with the class GUID (16 bytes) and then the zero-terminated UTF-16 name.
constexpr size_t kHeaderSize = 12;
constexpr size_t kInterfaceNameOffset = 28;
// Interface names are far shorter; this only bounds a read through a corrupt size field.
constexpr size_t kMaxBroadcastSize = kInterfaceNameOffset + 2 * 32768;

uint32_t ReadU32(std::span<const uint8_t> bytes, size_t offset);
std::string ReadInterfaceName(std::span<const uint8_t> broadcast);

}  // namespace

WindowEvent DecodeWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == kWmPowerBroadcast) {
        WindowEvent power;
        power.kind = WindowEventKind::Power;
        return power;
    }
    if (message == kWmEndSession) {
        WindowEvent ending;
        // FALSE: the end was called off; the utility runs on.
        ending.kind = wParam != 0 ? WindowEventKind::SessionEnding : WindowEventKind::Other;
        return ending;
    }
    if (message != kWmDeviceChange) {
        return {};
    }
    std::span<const uint8_t> broadcast;
    if (lParam != 0 && (wParam == kDbtDeviceArrival || wParam == kDbtDeviceRemoveComplete)) {
        const auto* header = reinterpret_cast<const uint8_t*>(lParam);
        const uint32_t size = ReadU32({header, kHeaderSize}, 0);
        broadcast = {header, std::clamp<size_t>(size, kHeaderSize, kMaxBroadcastSize)};
    }
    return DecodeDeviceChange(wParam, broadcast);
}

WindowEvent DecodeDeviceChange(uintptr_t event, std::span<const uint8_t> broadcast) {
    WindowEvent result;
    if (event == kDbtDeviceArrival) {
        result.kind = WindowEventKind::DeviceArrival;
    } else if (event == kDbtDeviceRemoveComplete) {
        result.kind = WindowEventKind::DeviceRemoval;
    } else {
        return result;
    }
    if (broadcast.size() >= kHeaderSize && ReadU32(broadcast, 4) == kDbtDevtypDeviceInterface) {
        result.deviceInterface = true;
        result.interfaceName = ReadInterfaceName(broadcast);
    }
    return result;
}

namespace {

uint32_t ReadU32(std::span<const uint8_t> bytes, size_t offset) {
    return static_cast<uint32_t>(bytes[offset]) | static_cast<uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<uint32_t>(bytes[offset + 2]) << 16 | static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

// Stops at the terminating zero or at the end of the broadcast, whichever comes first.
std::string ReadInterfaceName(std::span<const uint8_t> broadcast) {
    std::u16string name;
    for (size_t i = kInterfaceNameOffset; i + 1 < broadcast.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(broadcast[i] | broadcast[i + 1] << 8);
        if (unit == 0) {
            break;
        }
        name.push_back(unit);
    }
    return Utf16ToUtf8(name);
}

}  // namespace

}  // namespace orv
