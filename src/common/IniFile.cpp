// The INI engine's file access: loading a file whole, and the locks and the safe replace around
// each read-modify-write. The parsing and editing live in IniText.cpp.
#include "common/IniFile.h"

#include <cstdint>
#include <fstream>
#include <mutex>
#include <system_error>

#include "common/FileReplace.h"
#include "common/FileWriteLock.h"

namespace orv::ini {

namespace {

enum class LoadResult { Loaded, Missing, Failed };

std::mutex& FileLock();
LoadResult LoadFile(const std::filesystem::path& file, std::string& bytes);
bool ReadOnly(const std::filesystem::path& file);

}  // namespace

std::string Read(const std::filesystem::path& file, std::string_view section, std::string_view key,
                 size_t bufferChars) {
    return Snapshot(file).Read(section, key, bufferChars);
}

Snapshot::Snapshot(const std::filesystem::path& file) {
    std::string bytes;
    LoadResult loaded = LoadResult::Missing;
    {
        std::lock_guard lock(FileLock());
        loaded = LoadFile(file, bytes);
    }
    if (loaded == LoadResult::Loaded) {
        Take(std::move(bytes));
        return;
    }
    state_ = loaded == LoadResult::Missing ? FileState::Missing : FileState::Unreadable;
}

WriteResult Write(const std::filesystem::path& file, std::string_view section, std::string_view key,
                  std::string_view value) {
    const std::pair<std::string_view, std::string_view> entry{key, value};
    return WriteKeys(file, section, std::span(&entry, 1));
}

WriteResult WriteKeys(const std::filesystem::path& file, std::string_view section,
                      std::span<const std::pair<std::string_view, std::string_view>> entries) {
    // Entries no file could hold are refused before anything is locked or read.
    std::string empty;
    if (EditKeys(empty, section, entries) == Edit::Refused) {
        return WriteResult::Kind::Failed;
    }
    // Taken before the process's own lock, so that waiting for another process never holds up
    // this process's readers.
    const FileWriteLock otherProcesses(file);
    if (otherProcesses.Busy()) {
        return WriteResult::Kind::Busy;
    }
    std::lock_guard lock(FileLock());
    std::string bytes;
    const LoadResult loaded = LoadFile(file, bytes);
    if (loaded == LoadResult::Failed) {
        return WriteResult::Kind::Failed;
    }
    // Applying a profile writes every key, mostly with the values already there; skipping an
    // unchanged file spares a flush to disk. A read-only file still refuses, as any write to it would.
    if (EditKeys(bytes, section, entries) == Edit::Unchanged && loaded == LoadResult::Loaded) {
        return WriteResult::Of(!ReadOnly(file));
    }
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    return WriteResult::Of(ReplaceFileContents(file, std::span<const uint8_t>(data, bytes.size())));
}

namespace {

// One lock for every file within the process: the window and the playback thread both write
// config.ini, and each read-modify-write must see the result of the one before it. Reads take
// it too, so they never see a file that is being written in place. Other processes are kept
// apart by the FileWriteLock of each write.
std::mutex& FileLock() {
    static std::mutex lock;
    return lock;
}

// The file in one piece: its size is asked first so the bytes arrive in one read into a buffer
// of their size, instead of growing a buffer byte by byte.
LoadResult LoadFile(const std::filesystem::path& file, std::string& bytes) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return LoadResult::Missing;
    }
    if (error || status.type() != std::filesystem::file_type::regular) {
        return LoadResult::Failed;
    }
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    if (!in) {
        return LoadResult::Failed;
    }
    const std::streamoff size = in.tellg();
    in.seekg(0);
    if (size < 0 || !in) {
        return LoadResult::Failed;
    }
    bytes.resize(static_cast<size_t>(size));
    in.read(bytes.data(), size);
    bytes.resize(static_cast<size_t>(in.gcount()));
    // A file that grew while it was read is read on to its end.
    char chunk[4096];
    while (in) {
        in.read(chunk, sizeof chunk);
        bytes.append(chunk, static_cast<size_t>(in.gcount()));
    }
    return in.bad() ? LoadResult::Failed : LoadResult::Loaded;
}

bool ReadOnly(const std::filesystem::path& file) {
    using std::filesystem::perms;
    std::error_code error;
    const perms permissions = std::filesystem::status(file, error).permissions();
    return error || (permissions & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none;
}

}  // namespace

}  // namespace orv::ini
