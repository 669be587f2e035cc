#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace orv {

// The Windows messages the main window's native event filter hands to the core. Plain numbers
// and bytes, so the decoding is the same code and the same tests on every system.
inline constexpr uint32_t kWmEndSession = 0x0016;
inline constexpr uint32_t kWmPowerBroadcast = 0x0218;
inline constexpr uint32_t kWmDeviceChange = 0x0219;
inline constexpr uintptr_t kDbtDeviceArrival = 0x8000;
inline constexpr uintptr_t kDbtDeviceRemoveComplete = 0x8004;
inline constexpr uint32_t kDbtDevtypDeviceInterface = 5;

enum class WindowEventKind {
    Other,          // any message or device event the program does not act on
    Power,          // every WM_POWERBROADCAST, whatever its type: the profile is applied again
    DeviceArrival,  // WM_DEVICECHANGE, DBT_DEVICEARRIVAL
    DeviceRemoval,  // WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE
    // WM_ENDSESSION with wParam TRUE: the session ends (logoff, shutdown), and the process with
    // it as soon as the message has been answered.
    SessionEnding,
};

struct WindowEvent {
    WindowEventKind kind = WindowEventKind::Other;
    // Device events: whether the broadcast describes a device interface, and its name (UTF-8).
    bool deviceInterface = false;
    std::string interfaceName;
};

// message, wParam and lParam as the window procedure receives them; for device events lParam
// points to the broadcast header (or is 0).
WindowEvent DecodeWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);

// The device event part: the broadcast's bytes as the header's own size field gives them.
WindowEvent DecodeDeviceChange(uintptr_t event, std::span<const uint8_t> broadcast);

}  // namespace orv
