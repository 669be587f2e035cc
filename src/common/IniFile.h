#pragma once
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/WriteResult.h"

namespace orv {
class FileWriteLock;
}

// The private-profile functions every INI file of the program goes through (config.ini,
// profile exchange files, macro files, skin description files), with the semantics of the
// Windows functions of the same purpose, identical on every system.
//
// Section, key and value texts are UTF-8 in this interface, whatever the file's encoding.
//
// Files are read whole and parsed in memory; every operation reads its file once and walks it
// once, so a large hand-edited file costs time and memory in proportion to its size. The
// in-memory half (Snapshot::FromBytes, EditKeys) does everything but the file access.
namespace orv::ini {

// The value of key in section, or empty text when the file, the section or the key is missing.
// The value is cut to bufferChars - 1 UTF-16 units, as a read into a buffer of bufferChars
// characters would cut it (bufferChars 0 or 1 gives empty text). A file that cannot be read
// gives empty text too; callers that must tell read through a Snapshot.
std::string Read(const std::filesystem::path& file, std::string_view section, std::string_view key, size_t bufferChars);

// What reading a file found. A missing file reads as one without sections; a file that exists
// but cannot be read (no permission, a folder in its place, an I/O error) is an error, never
// empty text.
enum class FileState { Read, Missing, Unreadable };

// One key of a ReadKeys call, read as into a buffer of bufferChars characters.
struct KeyRead {
    std::string_view key;
    size_t bufferChars = 0;
};

// One reading of a file for a caller that reads several keys: every key comes from the same
// version of the file, and the caller learns whether the file could be read at all.
class Snapshot {
public:
    explicit Snapshot(const std::filesystem::path& file);
    // Contents already in memory, in any encoding a file may have; State() is Read.
    static Snapshot FromBytes(std::string bytes);

    FileState State() const { return state_; }
    bool HasSection(std::string_view section) const;
    // As the Read above; empty text unless State() is Read.
    std::string Read(std::string_view section, std::string_view key, size_t bufferChars) const;
    // Several keys of one section, each as Read gives it, found on one walk through the file.
    // No value when the section is missing.
    std::optional<std::vector<std::string>> ReadKeys(std::string_view section, std::span<const KeyRead> keys) const;

private:
    friend class FileUpdate;
    Snapshot() = default;
    void Take(std::string bytes);

    FileState state_ = FileState::Missing;
    bool utf16_ = false;
    std::string bytes_;     // UTF-8 files: the whole file
    size_t textBegin_ = 0;  // UTF-8 files: where the text starts, after any byte order mark
    std::u16string units_;  // UTF-16 files: the text after the byte order mark
};

using Entries = std::span<const std::pair<std::string_view, std::string_view>>;

// One read-modify-replace of a file, however many sections it writes: the file's write lock
// (FileWriteLock) is taken and the file read when the update is made, the writes are made on
// the contents in memory, and Commit replaces the file once and lets the lock go. What a
// caller writes back after reading Contents() is therefore what the file held, whatever other
// processes write meanwhile, and a process killed at any moment leaves the file as it was or
// with every write of the update. Nothing is written without Commit.
//
// While an update is open, every write of the same file, in this process too, waits for it:
// its owner writes the file through it alone.
class FileUpdate {
public:
    explicit FileUpdate(const std::filesystem::path& file);
    // With another bound of the wait for the lock than FileWriteLock's own.
    FileUpdate(const std::filesystem::path& file, std::chrono::milliseconds wait);
    ~FileUpdate();
    FileUpdate(const FileUpdate&) = delete;
    FileUpdate& operator=(const FileUpdate&) = delete;

    // Another program held the file's lock for the whole wait: the file was not read, Contents()
    // reads as unreadable, and Commit writes nothing.
    bool Busy() const;
    // The file as it was read, with this update's writes so far.
    const Snapshot& Contents() const;
    // As WriteKeys below, on the contents in memory; an entry the file could not hold makes
    // Commit write nothing.
    void Write(std::string_view section, Entries entries);
    // Replaces the file once, when any write changed it, and lets the lock go.
    WriteResult Commit();

private:
    std::filesystem::path file_;
    std::unique_ptr<FileWriteLock> lock_;
    std::string bytes_;
    FileState read_ = FileState::Missing;
    bool changed_ = false;
    bool refused_ = false;
    bool committed_ = false;
    mutable std::optional<Snapshot> contents_;
};

// Sets key in section to value, creating the file, the section or the key when missing, and
// leaving every other byte of the file as it was. Fails, with the file unchanged, when the file
// cannot be written, and for what the file could not give back: a line break or NUL anywhere,
// ']' in the section name, '=' in the key name, an empty key name, or a key name starting with
// '[' or ';'. Busy when another program holds the file's lock too long.
WriteResult Write(const std::filesystem::path& file, std::string_view section, std::string_view key,
                  std::string_view value);

// Several keys of one section in one read-modify-write, as if written one after the other: the
// file is replaced once, so a whole profile reaches the disk with one flush and a reader never
// sees half of it. Anything but Written leaves the file unchanged.
WriteResult WriteKeys(const std::filesystem::path& file, std::string_view section, Entries entries);

enum class Edit { Refused, Unchanged, Changed };

// What WriteKeys does to a file's contents, on contents in memory (empty for a missing file):
// bytes become what the file would hold afterwards. Refused, with bytes as they were, for
// entries Write would refuse; Unchanged when the contents already say what the entries say.
Edit EditKeys(std::string& bytes, std::string_view section, Entries entries);

}  // namespace orv::ini
