#pragma once
#include <string>
#include <string_view>

namespace orv {

// Text read from a file, as UTF-8 fit for a terminal: every control character (U+0000 to
// U+001F, U+007F and U+0080 to U+009F) is written as \xNN, so a macro name can neither move the
// cursor nor set the window title or clear the screen. Everything else stays as it is.
std::string EscapeControlCharacters(std::u16string_view text);

}  // namespace orv
