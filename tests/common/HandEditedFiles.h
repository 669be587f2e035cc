#pragma once
#include <string>

#include "macro/MacroSlot.h"

namespace orv::test {

// config.ini as a user might leave it after editing it by hand: every field of every profile
// negative, far beyond its table, cut, or not a number; a current profile and language that
// do not exist. Buttons 0..2 of every profile play user macro 0, the last user macro and the
// last constant macro; the others hold codes no table has.
inline std::string OutOfRangeConfig() {
    std::string text = "[Init]\r\nCurConfig=-7\r\nVER_SEL=99999999999\r\n";
    for (int n = 1; n <= 7; ++n) {
        text += "[Config" + std::to_string(n) + "]\r\nK0=41\r\nK1=52\r\nK2=38\r\nK3=53\r\nK4=-999\r\nK5=99999999\r\n";
        text += "DPI_LEVEL=" + std::string(n % 2 ? "-3" : "2147483648") + "\r\nWHEEL_STATUS=-1\r\nMACRO_MODE2=77\r\n";
        const char* steps[] = {"255", "-1", "999999999", "12"};
        const char* enabled[] = {"-7", "2", "abc", "99999999999"};
        for (int i = 0; i < 4; ++i) {
            text += "DPI_SET" + std::to_string(i) + "=" + steps[i] + "\r\nDPI_SET_EN" + std::to_string(i) + "=" +
                    enabled[i] + "\r\n";
        }
        text += "LED_STATUS=300\r\nDPI_SPEED=-1\r\nWHEEL_SPEED=99999\r\nUSB_SPEED=-3\r\nFIRE_TIME=" +
                std::string(n % 2 ? "-99999" : "2147483647") + "\r\n";
    }
    return text;
}

// One macro value, three digits a byte: numbers beyond a byte ("999"), signs and letters,
// a name of unpaired surrogates without its terminator, event count, key codes and actions out
// of range, and delays kept to nothing so that playing it stays short. events sets the count.
inline std::string OutOfRangeMacroValue(int events) {
    const char* junk[] = {"999", "255", "-12", "abc", "25x", "300", "?", "000"};
    std::string value;
    for (size_t field = 0; field < MacroSlot::kSize; ++field) {
        const bool delay = field >= MacroSlot::kEventsOffset && (field - MacroSlot::kEventsOffset) % 4 >= 2;
        if (field < MacroSlot::kNameBytes) {
            value += field % 2 ? "216" : "000";  // 0xD800 in every unit
        } else if (field == MacroSlot::kEventCountOffset) {
            value += (events < 100 ? events < 10 ? "00" : "0" : "") + std::to_string(events);
        } else if (delay) {
            value += "000";
        } else {
            value += junk[field % 8];
        }
    }
    return value;
}

// A macro file that claims 99 macros and holds values too long, too short and out of range.
inline std::string OutOfRangeMacroFile() {
    std::string text = "[Macros]\r\nmacroNum=99\r\n0=" + OutOfRangeMacroValue(255) + "\r\n";
    text += "1=" + OutOfRangeMacroValue(3) + OutOfRangeMacroValue(3) + "\r\n2=999999\r\n3=-\r\n";
    for (int m = 4; m < 99; ++m) {
        text += std::to_string(m) + "=" + OutOfRangeMacroValue(m % 7) + "\r\n";
    }
    return text;
}

}  // namespace orv::test
