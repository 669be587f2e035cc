#pragma once
#include <cstdint>

namespace orv {

// The Windows virtual-key code of a key by its X11 key code, which is the kernel's evdev code
// plus 8 (what Qt reports as a key event's native scan code under X11 and under Wayland). Left
// and right modifiers stay distinct, as the Windows keyboard hook reports them; the keypad
// gives its digit keys, as Windows does with Num Lock on. 0 for a key Windows has no code for.
uint8_t VirtualKeyFromX11KeyCode(uint32_t keyCode);

}  // namespace orv
