#include "platform/NativeWindow.h"

#include <windows.h>

#include <string>

#include "common/Utf.h"

namespace orv {

bool ReadNativeMessage(std::string_view eventType, const void* nativeEvent, NativeMessage& out) {
    if (eventType != "windows_generic_MSG" || nativeEvent == nullptr) {
        return false;
    }
    const auto* msg = static_cast<const MSG*>(nativeEvent);
    out.window = reinterpret_cast<uintptr_t>(msg->hwnd);
    out.message = msg->message;
    out.wParam = static_cast<uintptr_t>(msg->wParam);
    out.lParam = static_cast<intptr_t>(msg->lParam);
    return true;
}

bool AppendSystemMenuEntry(uintptr_t nativeWindow, uintptr_t command, std::string_view text, bool separatorBefore) {
    HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(nativeWindow), FALSE);
    if (menu == nullptr || text.empty()) {
        return false;
    }
    const std::u16string wide = Utf8ToUtf16(text);
    const std::wstring item(wide.begin(), wide.end());
    if (separatorBefore) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    }
    return AppendMenuW(menu, MF_STRING, command, item.c_str()) != FALSE;
}

}  // namespace orv
