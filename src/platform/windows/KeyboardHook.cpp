#include "platform/windows/KeyboardHook.h"

#include <atomic>
#include <mutex>

namespace orv {

namespace {

// Process-wide, as the hook itself is: a hook procedure receives no context of ours. The
// target is read by the procedure on every keystroke, so it is an atomic rather than behind
// the lock that guards installing and removing.
struct HookState {
    std::mutex mutex;
    HHOOK hook = nullptr;
    std::atomic<HWND> target{nullptr};
};

HookState& State() {
    static HookState state;
    return state;
}

}  // namespace

bool InstallKeyboardHook(HWND target) {
    SetKeyboardHookTarget(target);
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

void SetKeyboardHookTarget(HWND target) { State().target.store(target); }

// Posts and returns at once: the system drops a low-level hook that keeps it waiting. Returning 1
// without calling the next hook discards the keystroke for every other hook and window, so the
// recording's keys do not also type into the foreground application.
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM message, LPARAM event) {
    if (code == HC_ACTION && event != 0) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(event);
        if (HWND target = State().target.load()) {
            PostMessageW(target, static_cast<UINT>(message), key->vkCode, 0);
        }
    }
    return 1;
}

}  // namespace orv
