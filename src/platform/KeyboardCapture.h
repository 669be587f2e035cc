#pragma once
#include <cstdint>
#include <memory>

namespace orv {

// A keystroke as Windows names it; the recorder reads both systems' keys in these terms. The
// values are the Windows message ids.
enum class KeyMessage : uint32_t {
    KeyDown = 0x0100,
    KeyUp = 0x0101,
    SysKeyDown = 0x0104,
    SysKeyUp = 0x0105,
};

inline bool IsKeyDown(KeyMessage message) {
    return message == KeyMessage::KeyDown || message == KeyMessage::SysKeyDown;
}

// Receives the captured keystrokes on the window's thread, one call each, in the order they
// were typed. A held key's auto-repeat arrives as further downs with no up between them.
class KeySink {
public:
    virtual ~KeySink() = default;
    // virtualKey: the Windows virtual-key code, left and right modifiers distinct (0xA0 left
    // Shift, 0xA1 right Shift, ...).
    virtual void OnKeyMessage(KeyMessage message, uint8_t virtualKey) = 0;
};

// Takes the keyboard away from every application while a macro is recorded, so what the user
// types goes into the macro and nowhere else.
class KeyboardCapture {
public:
    virtual ~KeyboardCapture() = default;
    // From now on every keystroke goes to sink and to nothing else, until Stop. False when the
    // system refuses; nothing is captured then.
    virtual bool Start(KeySink& sink) = 0;
    // Gives the keyboard back. Keystrokes still on their way are dropped. Stopping a capture
    // that does not run does nothing.
    virtual void Stop() = 0;
    virtual bool Active() const = 0;
};

// The system-wide capture where the system offers one to an ordinary program (Windows: a
// low-level keyboard hook). nullptr elsewhere: on Linux the window grabs the keyboard itself.
std::unique_ptr<KeyboardCapture> CreateSystemKeyboardCapture();

}  // namespace orv
