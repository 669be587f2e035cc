#include "platform/NativeWindow.h"

namespace orv {

// The desktops here deliver power and device events through their own services, and a
// frameless window has no system menu, so nothing arrives this way.
bool ReadNativeMessage(std::string_view, const void*, NativeMessage&) { return false; }

bool AddAboutToSystemMenu(uintptr_t, std::string_view) { return false; }

}  // namespace orv
