#pragma once
#include <windows.h>

#include <string>

namespace orv {

// The hook procedure itself and the title it posts to, apart from the installation so that it
// can be driven directly.
void SetKeyboardHookTarget(std::wstring title);
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM message, LPARAM event);

}  // namespace orv
