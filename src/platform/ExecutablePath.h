#pragma once
#include <filesystem>

namespace orv {

// Full path of the running executable (Windows: GetModuleFileNameW; Linux: /proc/self/exe).
std::filesystem::path ExecutablePath();

}  // namespace orv
