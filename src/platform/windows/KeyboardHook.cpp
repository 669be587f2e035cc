#include "platform/KeyboardHook.h"

#include <mutex>
#include <string>

#include "common/Utf.h"
#include "platform/windows/KeyboardHookProc.h"

namespace orv {

namespace {

// Process-wide, as the hook itself is: a hook procedure receives no context of ours. The hook
// runs on the thread that installed it, but the title may be set from another.
struct HookState {
    std::mutex mutex;
    std::wstring title;
    HHOOK hook = nullptr;
};

HookState& State() {
    static HookState state;
    return state;
}

std::wstring Wide(std::string_view utf8) {
    const std::u16string text = Utf8ToUtf16(utf8);
    return std::wstring(text.begin(), text.end());
}

}  // namespace

bool InstallKeyboardHook(std::string_view windowTitle) {
    SetKeyboardHookTarget(Wide(windowTitle));
    HookState& state = State();
    std::lock_guard lock(state.mutex);
    if (state.hook == nullptr) {
        state.hook = SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardHookProc, GetModuleHandleW(nullptr), 0);
    }
    return state.hook != nullptr;
}

void RemoveKeyboardHook() {
    HookState& state = State();
    std::lock_guard lock(state.mutex);
    if (state.hook != nullptr) {
        UnhookWindowsHookEx(state.hook);
        state.hook = nullptr;
    }
}

bool KeyboardHookInstalled() {
    HookState& state = State();
    std::lock_guard lock(state.mutex);
    return state.hook != nullptr;
}

void SetKeyboardHookTarget(std::wstring title) {
    HookState& state = State();
    std::lock_guard lock(state.mutex);
    state.title = std::move(title);
}

// Posts and returns at once: the system drops a low-level hook that keeps it waiting. Returning 1
// without calling the next hook discards the keystroke for every other hook and window, so the
// recording's keys do not also type into the foreground application.
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM message, LPARAM event) {
    if (code == HC_ACTION && event != 0) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(event);
        std::wstring title;
        {
            HookState& state = State();
            std::lock_guard lock(state.mutex);
            title = state.title;
        }
        if (HWND window = FindWindowW(nullptr, title.c_str())) {
            PostMessageW(window, static_cast<UINT>(message), key->vkCode, 0);
        }
    }
    return 1;
}

}  // namespace orv
