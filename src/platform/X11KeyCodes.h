#pragma once
#include <cstdint>
#include <optional>

#include "platform/KeyboardCapture.h"

namespace orv {

// The Windows virtual-key code of a key by its X11 key code, which is the kernel's evdev code
// plus 8 (what Qt reports as a key event's native scan code under X11 and under Wayland). Left
// and right modifiers stay distinct, as the Windows keyboard hook reports them; the keypad
// gives its digit keys, as Windows does with Num Lock on. 0 for a key Windows has no code for.
uint8_t VirtualKeyFromX11KeyCode(uint32_t keyCode);

struct CapturedKey {
    KeyMessage message;
    uint8_t virtualKey;
};

// What a key event of the window's own keyboard grab hands to the recorder: a key down or up
// with its virtual key. A held key auto-repeats as release and press pairs under X11 but as
// repeated presses under Windows, so the release half of an auto-repeat gives nothing; so does
// a key Windows has no code for.
std::optional<CapturedKey> CapturedKeyFromX11(bool press, bool autoRepeat, uint32_t keyCode);

}  // namespace orv
