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

FileUpdate::FileUpdate(const std::filesystem::path& file) : FileUpdate(file, FileWriteLock::WriteLockWait()) {}

FileUpdate::FileUpdate(const std::filesystem::path& file, std::chrono::milliseconds wait) : file_(file) {
    // Taken before the process's own lock, so that waiting for another process never holds up
    // this process's readers.
    lock_ = std::make_unique<FileWriteLock>(file, wait);
    if (lock_->Busy()) {
        read_ = FileState::Unreadable;
        return;
    }
    std::lock_guard lock(FileLock());
    switch (LoadFile(file, bytes_)) {
    case LoadResult::Loaded:
        read_ = FileState::Read;
        break;
    case LoadResult::Missing:
        read_ = FileState::Missing;
        break;
    case LoadResult::Failed:
        read_ = FileState::Unreadable;
        break;
    }
}

FileUpdate::~FileUpdate() = default;

bool FileUpdate::Busy() const { return lock_ != nullptr && lock_->Busy(); }

const Snapshot& FileUpdate::Contents() const {
    if (!contents_) {
        Snapshot snapshot;
        if (read_ == FileState::Read || changed_) {
            snapshot.Take(bytes_);
        } else {
            snapshot.state_ = read_;
        }
        contents_ = std::move(snapshot);
    }
    return *contents_;
}

void FileUpdate::Write(std::string_view section, Entries entries) {
    if (read_ == FileState::Unreadable || committed_) {
        return;
    }
    switch (EditKeys(bytes_, section, entries)) {
    case Edit::Refused:
        refused_ = true;
        break;
    case Edit::Changed:
        changed_ = true;
        contents_.reset();
        break;
    case Edit::Unchanged:
        break;
    }
}

WriteResult FileUpdate::Commit() {
    if (committed_) {
        return WriteResult::Kind::Failed;
    }
    committed_ = true;
    const bool busy = Busy();
    WriteResult result = WriteResult::Kind::Failed;
    if (busy) {
        result = WriteResult::Kind::Busy;
    } else if (read_ != FileState::Unreadable && !refused_) {
        if (!changed_ && read_ == FileState::Read) {
            // Applying a profile writes every key, mostly with the values already there; skipping
            // an unchanged file spares a flush to disk. A read-only file still refuses, as any
            // write to it would.
            result = WriteResult::Of(!ReadOnly(file_));
        } else {
            std::lock_guard lock(FileLock());
            const auto* data = reinterpret_cast<const uint8_t*>(bytes_.data());
            result = WriteResult::Of(ReplaceFileContents(file_, std::span<const uint8_t>(data, bytes_.size())));
        }
    }
    lock_.reset();
    return result;
}

WriteResult Write(const std::filesystem::path& file, std::string_view section, std::string_view key,
                  std::string_view value) {
    const std::pair<std::string_view, std::string_view> entry{key, value};
    return WriteKeys(file, section, std::span(&entry, 1));
}

WriteResult WriteKeys(const std::filesystem::path& file, std::string_view section, Entries entries) {
    // Entries no file could hold are refused before anything is locked or read.
    std::string empty;
    if (EditKeys(empty, section, entries) == Edit::Refused) {
        return WriteResult::Kind::Failed;
    }
    FileUpdate update(file);
    update.Write(section, entries);
    return update.Commit();
}

namespace {

// One lock for every file within the process, held while a file is loaded or replaced, so that
// a read never sees a file that is being written in place. The read-modify-writes themselves
// (the window's and the playback thread's, and other processes') are kept apart by the
// FileWriteLock of each update, which is held across the caller's own work and so cannot be
// this lock: a reader on the updating thread would wait on itself.
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
