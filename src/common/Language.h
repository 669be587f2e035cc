#pragma once
#include <cstdint>

namespace orv {

// The language of every text, file, font and caption the user sees, from "VER_SEL" of
// config.ini: 1 English, 0 Chinese. A hand-edited value other than 0 and 1 keeps its low 8 bits
// and counts as English everywhere, except for the two places that ask for exactly 1: the
// factory section of profile 5 and the highlighted language button.
class Language {
public:
    // Chinese, as the program is before it has read the file.
    constexpr Language() = default;
    static constexpr Language English() { return Language(1); }
    static constexpr Language Chinese() { return Language(0); }
    // The stored number; only its low 8 bits count.
    static constexpr Language FromSetting(int32_t value) { return Language(static_cast<uint8_t>(value & 0xFF)); }

    // Texts, skin files, macro files, fonts, menus, captions.
    constexpr bool IsEnglish() const { return value_ != 0; }
    // The factory section of profile 5 ("CfgReset_EN5") and the highlighted language button.
    constexpr bool IsExactlyEnglish() const { return value_ == 1; }
    constexpr uint8_t Setting() const { return value_; }

    friend constexpr bool operator==(Language, Language) = default;

private:
    constexpr explicit Language(uint8_t value) : value_(value) {}
    uint8_t value_ = 0;
};

}  // namespace orv
