#include "common/TerminalText.h"

#include "common/Utf.h"

namespace orv {

namespace {

bool IsControl(char16_t unit) { return unit < 0x20 || (unit >= 0x7F && unit <= 0x9F); }

}  // namespace

std::string EscapeControlCharacters(std::u16string_view text) {
    constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    size_t plain = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !IsControl(text[i])) {
            continue;
        }
        out += Utf16ToUtf8(text.substr(plain, i - plain));
        if (i < text.size()) {
            out += "\\x";
            out += kHex[text[i] >> 4];
            out += kHex[text[i] & 0xF];
        }
        plain = i + 1;
    }
    return out;
}

}  // namespace orv
