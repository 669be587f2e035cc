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
// The program's own system menu commands: the system keeps the low four bits of a command for
// itself and its own commands start at 0xF000, so ours are multiples of 16 below that.
inline constexpr uintptr_t kAboutCommand = 0x10;
inline constexpr uintptr_t kFirstEntryCommand = 0x20;
inline constexpr uintptr_t kCommandStep = 0x10;

// Appends an entry with the command and the text (UTF-8) to the window's system menu, after a
// separator when asked. False where windows have no system menu (Linux, or a window without one).
bool AppendSystemMenuEntry(uintptr_t nativeWindow, uintptr_t command, std::string_view text, bool separatorBefore);

}  // namespace orv
