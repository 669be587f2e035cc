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
//
// Where no temporary file can be made because the folder may not be written to, an existing
// target that may be written is written in place instead, as the Windows profile functions
// write it; only this case can leave a torn file when the process is killed.
//
// The temporary file (".NAME.PID.N.tmp" on Linux, the hidden "NAME.PID.N.tmp" on Windows) is
// left behind only when the process is killed half-way.
bool ReplaceFileContents(const std::filesystem::path& target, std::span<const uint8_t> contents);

enum class NewFile { Created, AlreadyThere, Failed };

// Creates target with the contents unless a file of that name exists, which is never touched,
// even when another process creates it at the same moment: the bytes go to a temporary file
// that is flushed and then moved to its name only if that name is still free. A process
// killed half-way leaves no partial target behind.
NewFile CreateFileContents(const std::filesystem::path& target, std::span<const uint8_t> contents);

// Removes the temporary files of target that writers killed half-way left, those whose process
// no longer runs; a running process's file may be about to become target and stays. Every
// replace and create of target does this, and so does taking its FileWriteLock, so a write
// that finds nothing to change tidies up as well.
void RemoveLeftoverTemporaries(const std::filesystem::path& target);

}  // namespace orv
