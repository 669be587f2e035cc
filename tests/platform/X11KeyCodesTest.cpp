#include <gtest/gtest.h>

#include <set>

#include "macro/KeyCodes.h"
#include "platform/X11KeyCodes.h"

namespace orv {
namespace {

TEST(X11KeyCodes, KeysByTheirX11CodeGiveTheirWindowsVirtualKey) {
    const struct {
        uint32_t x11;
        uint8_t virtualKey;
        const char* key;
    } cases[] = {
        {38, 0x41, "A"},
        {52, 0x5A, "Z"},
        {10, 0x31, "1"},
        {19, 0x30, "0"},
        {9, 0x1B, "Escape"},
        {36, 0x0D, "Return"},
        {104, 0x0D, "KP Enter"},
        {65, 0x20, "space"},
        {50, 0xA0, "Shift_L"},
        {62, 0xA1, "Shift_R"},
        {37, 0xA2, "Control_L"},
        {105, 0xA3, "Control_R"},
        {64, 0xA4, "Alt_L"},
        {108, 0xA5, "Alt_R"},
        {133, 0x5B, "Super_L"},
        {134, 0x5C, "Super_R"},
        {135, 0x5D, "Menu"},
        {67, 0x70, "F1"},
        {96, 0x7B, "F12"},
        {191, 0x7C, "F13"},
        {202, 0x87, "F24"},
        {90, 0x60, "KP_0"},
        {87, 0x61, "KP_1"},
        {81, 0x69, "KP_9"},
        {107, 0x2C, "Print"},
        {127, 0x13, "Pause"},
        {78, 0x91, "Scroll_Lock"},
        {49, 0xC0, "grave"},
        {121, 0xAD, "Mute"},
        {0, 0, "none"},
        {8, 0, "first X11 code, no key"},
        {255, 0, "last X11 code, no key"},
        {256, 0, "beyond X11 codes"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VirtualKeyFromX11KeyCode(c.x11), c.virtualKey) << c.key;
    }
}

// Every key the key table names can be recorded on Linux too, except the three whose keys
// no PC keyboard has an X11 code for.
TEST(X11KeyCodes, EveryVirtualKeyOfTheKeyTableHasAKey) {
    std::set<int> reachable;
    for (uint32_t code = 0; code < 256; ++code) {
        reachable.insert(VirtualKeyFromX11KeyCode(code));
    }
    const std::set<int> withoutKey{0x0C /* CLEAR */, 0x29 /* SELECT */, 0x2B /* EXECUTE */};
    for (const KeyRow& row : KeyTable()) {
        if (row.virtualKey >= 0 && !withoutKey.contains(row.virtualKey)) {
            EXPECT_TRUE(reachable.contains(row.virtualKey)) << row.name;
        }
    }
}

// A key held under X11 arrives as press, then release and press pairs marked as auto-repeat,
// then the real release; the recorder must see presses only until the real release.
TEST(X11KeyCodes, AutoRepeatReachesTheRecorderAsRepeatedPresses) {
    const struct {
        bool press, autoRepeat;
        uint32_t keyCode;
        std::optional<KeyMessage> message;
    } events[] = {
        {true, false, 38, KeyMessage::KeyDown}, {false, true, 38, std::nullopt},  {true, true, 38, KeyMessage::KeyDown},
        {false, false, 38, KeyMessage::KeyUp},  {true, false, 255, std::nullopt},  // no Windows key
    };
    for (const auto& e : events) {
        const std::optional<CapturedKey> key = CapturedKeyFromX11(e.press, e.autoRepeat, e.keyCode);
        ASSERT_EQ(key.has_value(), e.message.has_value()) << e.press << e.autoRepeat;
        if (key) {
            EXPECT_EQ(key->message, *e.message);
            EXPECT_EQ(key->virtualKey, 0x41);
        }
    }
}

}  // namespace
}  // namespace orv
