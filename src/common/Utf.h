#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace orv {

// Ill-formed input never fails: each byte or unit that does not form a character becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// Paths cross the core as UTF-8 text; these keep non-ASCII names intact on every system.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string PathToUtf8(const std::filesystem::path& path);

}  // namespace orv
