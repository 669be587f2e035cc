#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <span>
#include <utility>

// The private-profile functions every INI file of the program goes through (config.ini,
// profile exchange files, macro files, skin description files), with the semantics of the
// Windows functions of the same purpose, identical on every system.
//
// Section, key and value texts are UTF-8 in this interface, whatever the file's encoding.
namespace orv::ini {

// The value of key in section, or empty text when the file, the section or the key is missing.
// The value is cut to bufferChars - 1 UTF-16 units, as a read into a buffer of bufferChars
// characters would cut it (bufferChars 0 or 1 gives empty text). A file that cannot be read
// gives empty text too; callers that must tell read through a Snapshot.
std::string Read(const std::filesystem::path& file, std::string_view section, std::string_view key,
                 size_t bufferChars);

// What reading a file found. A missing file reads as one without sections; a file that exists
// but cannot be read (no permission, a folder in its place, an I/O error) is an error, never
// empty text.
enum class FileState { Read, Missing, Unreadable };

// One reading of a file for a caller that reads several keys: every key comes from the same
// version of the file, and the caller learns whether the file could be read at all.
class Snapshot {
public:
    explicit Snapshot(const std::filesystem::path& file);

    FileState State() const { return state_; }
    bool HasSection(std::string_view section) const;
    // As the Read above; empty text unless State() is Read.
    std::string Read(std::string_view section, std::string_view key, size_t bufferChars) const;

private:
    FileState state_ = FileState::Missing;
    bool utf16_ = false;
    std::string bytes_;     // UTF-8 files: the text after any byte order mark
    std::u16string units_;  // UTF-16 files: the text after the byte order mark
};

// Sets key in section to value, creating the file, the section or the key when missing, and
// leaving every other byte of the file as it was. Returns false, with the file unchanged,
// when the file cannot be written, and for what the file could not give back: a line break or
// NUL anywhere, ']' in the section name, '=' in the key name, an empty key name, or a key name
// starting with '[' or ';'.
bool Write(const std::filesystem::path& file, std::string_view section, std::string_view key,
           std::string_view value);

// Several keys of one section in one read-modify-write, as if written one after the other: the
// file is replaced once, so a whole profile reaches the disk with one flush and a reader never
// sees half of it. Returns false, with the file unchanged, when any key cannot be written.
bool WriteKeys(const std::filesystem::path& file, std::string_view section,
               std::span<const std::pair<std::string_view, std::string_view>> entries);

}  // namespace orv::ini
