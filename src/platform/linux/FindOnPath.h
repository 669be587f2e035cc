#pragma once
#include <filesystem>
#include <optional>
#include <string_view>

namespace orv {

// The program called name in the first absolute folder of PATH that holds it as a regular,
// executable file. Relative and empty entries are skipped: they would let a file in the
// current folder run in place of the system program. A folder or a non-executable file of
// that name does not count, so the search goes on to the next folder.
std::optional<std::filesystem::path> FindOnPath(std::string_view name);

}  // namespace orv
