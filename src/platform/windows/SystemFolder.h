#pragma once
#include <filesystem>
#include <string_view>

namespace orv {

// The system folder (System32) joined with fileName; empty when the folder is unknown. Programs
// the utility starts are always taken from here, never searched for.
std::filesystem::path SystemFolderFile(std::wstring_view fileName);

}  // namespace orv
