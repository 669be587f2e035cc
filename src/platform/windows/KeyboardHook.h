#pragma once
#include <windows.h>

namespace orv {

// The low-level keyboard hook behind the Windows keyboard capture. While installed, every
// keystroke of every application is taken away from the system and posted instead to the
// target window, as a message with the key message's own id (key down, key up, system key
// down, system key up), the virtual-key code as wParam and 0 as lParam.
//
// Installing again while installed only changes the target. False when the system refuses
// the hook.
bool InstallKeyboardHook(HWND target);
void RemoveKeyboardHook();
bool KeyboardHookInstalled();

// The hook procedure itself and its target, apart from the installation so that it can be
// driven directly.
void SetKeyboardHookTarget(HWND target);
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM message, LPARAM event);

}  // namespace orv
