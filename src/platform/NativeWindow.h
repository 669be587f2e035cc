#pragma once
#include <cstdint>
#include <string_view>

namespace orv {

// The main window's native side, where windows have one that the toolkit does not cover
// (Windows: the system menu and the messages only a window procedure receives).

// One window message as a native event filter receives it.
struct NativeMessage {
    uintptr_t window = 0;
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

// Reads the message behind a native event of the given type ("windows_generic_MSG"); false
// for every other event type, and on systems without such messages.
bool ReadNativeMessage(std::string_view eventType, const void* nativeEvent, NativeMessage& out);

inline constexpr uint32_t kWmSysCommand = 0x0112;
inline constexpr uintptr_t kAboutCommand = 0x10;

// Appends a separator and an entry with kAboutCommand and the text (UTF-8) to the window's
// system menu. False where windows have no system menu (Linux, or a window without one).
bool AddAboutToSystemMenu(uintptr_t nativeWindow, std::string_view text);

}  // namespace orv
