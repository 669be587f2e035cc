#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

// Decimal text as every file and edit box of the program stores numbers: leading blanks
// (spaces, tabs, line breaks) skipped, an optional sign, then the digits up to the first
// other character. No digits gives 0. Values beyond the 32-bit range saturate.
int32_t ParseDecimal(std::string_view text);

// "%d"
std::string FormatDecimal(int64_t value);

}  // namespace orv
