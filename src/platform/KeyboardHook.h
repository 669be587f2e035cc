#pragma once
#include <string_view>

namespace orv {

// System-wide keyboard capture while a macro is recorded. While installed, every keystroke of
// every application is taken away from the system and posted instead to the top-level window
// whose title is windowTitle (UTF-8), as a message with the key message's own id (key down, key
// up, system key down, system key up), the virtual-key code as wParam and 0 as lParam. The
// window's key handling then sees the keystrokes as its own.
//
// Installing again while installed only changes the title. Returns false when the hook cannot
// be installed or the system has no such hook (Linux: the window captures keys itself while it
// has the focus).
bool InstallKeyboardHook(std::string_view windowTitle);
void RemoveKeyboardHook();
bool KeyboardHookInstalled();

}  // namespace orv
