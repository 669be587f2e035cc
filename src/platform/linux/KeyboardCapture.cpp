#include "platform/KeyboardCapture.h"

namespace orv {

// X11 and Wayland give an ordinary program no system-wide hook; the window grabs the keyboard
// itself while it records.
std::unique_ptr<KeyboardCapture> CreateSystemKeyboardCapture() { return nullptr; }

}  // namespace orv
