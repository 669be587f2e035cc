#include "platform/NativeWindow.h"

namespace orv {

// The desktops here deliver power and device events through their own services, and a
// frameless window has no system menu, so nothing arrives this way.
bool ReadNativeMessage(std::string_view, const void*, NativeMessage&) { return false; }

bool AppendSystemMenuEntry(uintptr_t, uintptr_t, std::string_view, bool) { return false; }

}  // namespace orv
