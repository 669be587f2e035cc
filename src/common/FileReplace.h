#pragma once
#include <cstdint>
#include <filesystem>
#include <span>

namespace orv {

// Gives target the new contents so that, whenever the process is killed, target holds either
// its old or its new contents, never a torn or empty file: the bytes go to a temporary file in
// the same folder, are flushed to disk and renamed over target (Windows: ReplaceFileW, else
// MoveFileExW with replace). An existing target's permissions are kept, and a read-only target
// is not replaced. Returns false, with target unchanged and no temporary file left behind,
// when any step fails.
bool ReplaceFileContents(const std::filesystem::path& target, std::span<const uint8_t> contents);

}  // namespace orv
