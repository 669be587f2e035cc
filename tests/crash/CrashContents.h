#pragma once
#include <cstdint>
#include <string>

#include "macro/MacroStore.h"
#include "settings/ProfileSettings.h"

namespace orv::test {

// The two versions the crash writer saves by turns. They differ in every value and in the
// length of many lines, so a file torn between them, or cut short, matches neither.
inline constexpr int kCrashProfile = 2;

inline ProfileSettings CrashProfile(int version) {
    ProfileSettings s;
    const int v = version & 1;
    for (size_t i = 0; i < s.buttonFunction.size(); ++i) {
        s.buttonFunction[i] = v ? static_cast<int32_t>(60 + i) : static_cast<int32_t>(i + 1);
    }
    s.dpiLevel = v ? 3 : 0;
    for (size_t i = 0; i < 4; ++i) {
        s.dpiStep[i] = static_cast<uint8_t>(v ? 11 - i : i);
        s.dpiEnabled[i] = static_cast<uint8_t>(v);
    }
    s.ledStatus = static_cast<uint8_t>(v ? 2 : 0);
    s.pointerSpeed = static_cast<uint8_t>(v ? 10 : 1);
    s.wheelSpeed = static_cast<uint8_t>(v ? 10 : 1);
    s.wheelStatus = v;
    s.fireTime = v ? 9999 : 5;  // a profile value is read through 4 characters
    s.reportRate = static_cast<uint8_t>(v ? 3 : 0);
    s.macroMode = v ? 7 : 0;
    return s;
}

// Version 0 holds 12 full macros, version 1 holds 5 short ones.
inline MacroStore CrashMacros(int version) {
    MacroStore store;
    const int v = version & 1;
    const int count = v ? 5 : MacroStore::kUserSlots;
    for (int m = 0; m < count; ++m) {
        MacroSlot& slot = store.User(m);
        slot.SetName(std::u16string(v ? u"short " : u"full macro ") + static_cast<char16_t>(u'A' + m));
        slot.SetRepeatOn(static_cast<uint8_t>(v ? 1 : 2));
        slot.SetRepeatCount(static_cast<uint16_t>(v ? 3 : 254));
        const size_t events = v ? 4 : MacroSlot::kMaxEvents - 1;
        slot.SetEventCount(static_cast<uint8_t>(events));
        // Letters, whose key codes the file keeps as they are.
        for (size_t k = 0; k < events; ++k) {
            slot.SetEvent(k, static_cast<uint8_t>(0x04 + (k + m + v) % 26),
                          k % 2 ? MacroSlot::kRelease : MacroSlot::kPress, static_cast<uint16_t>(v ? 999 : 10 + k));
        }
    }
    store.macroCount = static_cast<int16_t>(count);
    return store;
}

}  // namespace orv::test
