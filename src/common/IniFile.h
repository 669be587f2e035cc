#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

// The private-profile functions every INI file of the program goes through (config.ini,
// profile exchange files, macro files, skin description files), with the semantics of the
// Windows functions of the same purpose, identical on every system.
//
// Section, key and value texts are UTF-8 in this interface, whatever the file's encoding.
namespace orv::ini {

// The value of key in section, or empty text when the file, the section or the key is missing.
// The value is cut to bufferChars - 1 UTF-16 units, as a read into a buffer of bufferChars
// characters would cut it (bufferChars 0 or 1 gives empty text).
std::string Read(const std::filesystem::path& file, std::string_view section, std::string_view key,
                 size_t bufferChars);

// Sets key in section to value, creating the file, the section or the key when missing, and
// leaving every other byte of the file as it was. Returns false, with the file unchanged,
// when the file cannot be written, and for what the file could not give back: a line break or
// NUL anywhere, ']' in the section name, '=' in the key name, an empty key name, or a key name
// starting with '[' or ';'.
bool Write(const std::filesystem::path& file, std::string_view section, std::string_view key,
           std::string_view value);

}  // namespace orv::ini
