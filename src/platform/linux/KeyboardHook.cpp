#include "platform/KeyboardHook.h"

namespace orv {

// X11 and Wayland have no system-wide hook an ordinary program may install; the window grabs
// the keyboard itself.
bool InstallKeyboardHook(std::string_view) { return false; }
void RemoveKeyboardHook() {}
bool KeyboardHookInstalled() { return false; }

}  // namespace orv
