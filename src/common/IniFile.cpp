#include "common/IniFile.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <span>
#include <system_error>
#include <vector>

#include "common/Utf.h"
#include "common/FileReplace.h"
#include "common/FileWriteLock.h"

// How lines are understood, as the Windows private-profile functions understand them:
// - Lines end at "\r\n", "\n" or a lone "\r". Spaces and tabs around names and values do not count.
// - "[name]" starts a section; text after the first ']' is ignored. A '[' line without ']'
//   names its section by the rest of the line, so a hand-edited "[Config1" still holds its keys.
// - "name=value" is a key; the first '=' splits, so a value may itself contain '='. A key line
//   with an empty name is never matched.
// - A line starting with ';', a line without '=' and every line before the first section are
//   ignored by reads and kept as they are by writes.
// - Names match without regard to ASCII case. Other letters match exactly: case folding beyond
//   ASCII depends on the locale, and a file must read the same on every machine.
// - The first of duplicate sections, and the first of duplicate keys in it, is the one read and
//   written.
// - A value wrapped in matching quotes ('...' or "...") reads without them.
namespace orv::ini {

namespace {

enum class Encoding { Utf8, Utf8Bom, Utf16Le, Utf16Be };

// A file as code units, holding what is needed to give back its exact bytes. UTF-16 units are
// kept as they are (unpaired surrogates too) and so are bytes that are not valid UTF-8.
struct Document {
    Encoding encoding = Encoding::Utf8;
    std::string bytes;     // UTF-8 files: everything after the byte order mark
    std::u16string units;  // UTF-16 files: everything after the byte order mark
    std::string oddByte;   // UTF-16 files of odd length: the last byte
};

enum class LoadResult { Loaded, Missing, Failed };

std::mutex& FileLock();
LoadResult LoadFile(const std::filesystem::path& file, std::string& bytes);
bool ReadOnly(const std::filesystem::path& file);
Document Decode(std::string bytes);
std::string Encode(const Document& document);
bool Writable(std::string_view section, std::string_view key, std::string_view value);
std::u16string CutToBuffer(std::u16string value, size_t bufferChars);

template <typename Unit>
std::optional<std::basic_string_view<Unit>> FindValue(std::basic_string_view<Unit> text,
                                                      std::basic_string_view<Unit> section,
                                                      std::basic_string_view<Unit> key);
template <typename Unit>
void SetValue(std::basic_string<Unit>& text, std::basic_string_view<Unit> section, std::basic_string_view<Unit> key,
              std::basic_string_view<Unit> value);
template <typename Unit>
std::basic_string<Unit> FromUtf8(std::string_view text);

bool IsUtf16(Encoding encoding) { return encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be; }

// Content is [begin, end); the line ending, empty on a last line without one, is [end, next).
struct Line {
    size_t begin = 0;
    size_t end = 0;
    size_t next = 0;
};

template <typename Unit>
std::vector<Line> SplitLines(std::basic_string_view<Unit> text);
template <typename Unit>
size_t FindSection(std::basic_string_view<Unit> text, const std::vector<Line>& lines,
                   std::basic_string_view<Unit> section);
template <typename Unit>
std::basic_string_view<Unit> TrimBlanks(std::basic_string_view<Unit> text);

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
    if (loaded != LoadResult::Loaded) {
        state_ = loaded == LoadResult::Missing ? FileState::Missing : FileState::Unreadable;
        return;
    }
    state_ = FileState::Read;
    Document document = Decode(std::move(bytes));
    utf16_ = IsUtf16(document.encoding);
    bytes_ = std::move(document.bytes);
    units_ = std::move(document.units);
}

bool Snapshot::HasSection(std::string_view section) const {
    if (utf16_) {
        const std::u16string wanted = Utf8ToUtf16(section);
        const std::vector<Line> lines = SplitLines<char16_t>(units_);
        return FindSection<char16_t>(units_, lines, TrimBlanks<char16_t>(wanted)) < lines.size();
    }
    const std::vector<Line> lines = SplitLines<char>(bytes_);
    return FindSection<char>(bytes_, lines, TrimBlanks(section)) < lines.size();
}

std::string Snapshot::Read(std::string_view section, std::string_view key, size_t bufferChars) const {
    std::u16string value;
    if (utf16_) {
        const std::u16string wantedSection = Utf8ToUtf16(section);
        const std::u16string wantedKey = Utf8ToUtf16(key);
        if (auto found = FindValue<char16_t>(units_, wantedSection, wantedKey)) {
            value = *found;
        }
    } else if (auto found = FindValue<char>(bytes_, section, key)) {
        value = Utf8ToUtf16(*found);
    }
    return Utf16ToUtf8(CutToBuffer(std::move(value), bufferChars));
}

bool Write(const std::filesystem::path& file, std::string_view section, std::string_view key,
           std::string_view value) {
    const std::pair<std::string_view, std::string_view> entry{key, value};
    return WriteKeys(file, section, std::span(&entry, 1));
}

bool WriteKeys(const std::filesystem::path& file, std::string_view section,
               std::span<const std::pair<std::string_view, std::string_view>> entries) {
    for (const auto& [key, value] : entries) {
        if (!Writable(section, key, value)) {
            return false;
        }
    }
    // Taken before the process's own lock, so that waiting for another process never holds up
    // this process's readers.
    const FileWriteLock otherProcesses(file);
    std::lock_guard lock(FileLock());
    std::string bytes;
    const LoadResult loaded = LoadFile(file, bytes);
    if (loaded == LoadResult::Failed) {
        return false;
    }
    Document document = Decode(bytes);
    for (const auto& [key, value] : entries) {
        if (IsUtf16(document.encoding)) {
            SetValue<char16_t>(document.units, FromUtf8<char16_t>(section), FromUtf8<char16_t>(key),
                               FromUtf8<char16_t>(value));
        } else {
            SetValue<char>(document.bytes, section, key, value);
        }
    }
    const std::string contents = Encode(document);
    // Applying a profile writes every key, mostly with the values already there; skipping an
    // unchanged file spares a flush to disk. A read-only file still refuses, as any write to it would.
    if (loaded == LoadResult::Loaded && contents == bytes) {
        return !ReadOnly(file);
    }
    const auto* data = reinterpret_cast<const uint8_t*>(contents.data());
    return ReplaceFileContents(file, std::span<const uint8_t>(data, contents.size()));
}

namespace {

// ---- The line model ----------------------------------------------------------------------

enum class LineKind { Blank, Comment, Section, Key, Other };

template <typename Unit>
struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::basic_string_view<Unit> name;  // section or key name, without surrounding blanks
    size_t valueBegin = 0;              // key lines: the value without surrounding blanks
    size_t valueEnd = 0;
};

template <typename Unit>
bool IsBlank(Unit unit) {
    return unit == Unit(' ') || unit == Unit('\t');
}

template <typename Unit>
std::basic_string_view<Unit> TrimBlanks(std::basic_string_view<Unit> text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

template <typename Unit>
Unit AsciiLower(Unit unit) {
    return unit >= Unit('A') && unit <= Unit('Z') ? Unit(unit - Unit('A') + Unit('a')) : unit;
}

template <typename Unit>
bool SameName(std::basic_string_view<Unit> a, std::basic_string_view<Unit> b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

template <typename Unit>
std::vector<Line> SplitLines(std::basic_string_view<Unit> text) {
    std::vector<Line> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = begin;
        while (end < text.size() && text[end] != Unit('\n') && text[end] != Unit('\r')) {
            ++end;
        }
        size_t next = end;
        if (next < text.size()) {
            next += (text[next] == Unit('\r') && next + 1 < text.size() && text[next + 1] == Unit('\n')) ? 2 : 1;
        }
        lines.push_back({begin, end, next});
        begin = next;
    }
    return lines;
}

template <typename Unit>
ParsedLine<Unit> ParseLine(std::basic_string_view<Unit> text, const Line& line) {
    ParsedLine<Unit> parsed;
    size_t i = line.begin;
    while (i < line.end && IsBlank(text[i])) {
        ++i;
    }
    if (i == line.end) {
        parsed.kind = LineKind::Blank;
        return parsed;
    }
    const std::basic_string_view<Unit> content = text.substr(i, line.end - i);
    if (content.front() == Unit(';')) {
        parsed.kind = LineKind::Comment;
        return parsed;
    }
    if (content.front() == Unit('[')) {
        const size_t close = content.find(Unit(']'));
        parsed.kind = LineKind::Section;
        parsed.name = TrimBlanks(content.substr(1, close == content.npos ? content.npos : close - 1));
        return parsed;
    }
    const size_t equals = content.find(Unit('='));
    if (equals == content.npos) {
        return parsed;
    }
    parsed.kind = LineKind::Key;
    parsed.name = TrimBlanks(content.substr(0, equals));
    parsed.valueBegin = i + equals + 1;
    while (parsed.valueBegin < line.end && IsBlank(text[parsed.valueBegin])) {
        ++parsed.valueBegin;
    }
    parsed.valueEnd = line.end;
    while (parsed.valueEnd > parsed.valueBegin && IsBlank(text[parsed.valueEnd - 1])) {
        --parsed.valueEnd;
    }
    return parsed;
}

// The index of the header line of the first section named section, or lines.size().
template <typename Unit>
size_t FindSection(std::basic_string_view<Unit> text, const std::vector<Line>& lines,
                   std::basic_string_view<Unit> section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        const ParsedLine<Unit> parsed = ParseLine(text, lines[i]);
        if (parsed.kind == LineKind::Section && SameName(parsed.name, section)) {
            return i;
        }
    }
    return lines.size();
}

template <typename Unit>
std::basic_string_view<Unit> Unquote(std::basic_string_view<Unit> value) {
    if (value.size() >= 2 && (value.front() == Unit('"') || value.front() == Unit('\'')) &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

template <typename Unit>
std::optional<std::basic_string_view<Unit>> FindValue(std::basic_string_view<Unit> text,
                                                      std::basic_string_view<Unit> section,
                                                      std::basic_string_view<Unit> key) {
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    if (key.empty()) {
        return std::nullopt;
    }
    const std::vector<Line> lines = SplitLines(text);
    for (size_t i = FindSection(text, lines, section) + 1; i < lines.size(); ++i) {
        const ParsedLine<Unit> parsed = ParseLine(text, lines[i]);
        if (parsed.kind == LineKind::Section) {
            break;
        }
        if (parsed.kind == LineKind::Key && SameName(parsed.name, key)) {
            return Unquote(text.substr(parsed.valueBegin, parsed.valueEnd - parsed.valueBegin));
        }
    }
    return std::nullopt;
}

// New lines take the file's own line ending; a file without one gets the Windows ending, so
// files written here and on Windows look alike.
template <typename Unit>
std::basic_string<Unit> LineEnding(std::basic_string_view<Unit> text, const std::vector<Line>& lines) {
    for (const Line& line : lines) {
        if (line.next > line.end) {
            return std::basic_string<Unit>(text.substr(line.end, line.next - line.end));
        }
    }
    return {Unit('\r'), Unit('\n')};
}

template <typename Unit>
void SetValue(std::basic_string<Unit>& text, std::basic_string_view<Unit> section, std::basic_string_view<Unit> key,
              std::basic_string_view<Unit> value) {
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    const std::basic_string_view<Unit> view(text);
    const std::vector<Line> lines = SplitLines(view);
    const std::basic_string<Unit> ending = LineEnding(view, lines);
    std::basic_string<Unit> keyLine(key);
    keyLine += Unit('=');
    keyLine += value;

    const size_t header = FindSection(view, lines, section);
    if (header == lines.size()) {
        std::basic_string<Unit> added;
        if (!text.empty() && lines.back().next == lines.back().end) {
            added += ending;
        }
        added += Unit('[');
        added += section;
        added += Unit(']');
        added += ending + keyLine + ending;
        text += added;
        return;
    }

    // A new key follows the section's last line of content, so blank lines and comments that
    // lead into the next section stay with it.
    size_t last = header;
    for (size_t i = header + 1; i < lines.size(); ++i) {
        const ParsedLine<Unit> parsed = ParseLine(view, lines[i]);
        if (parsed.kind == LineKind::Section) {
            break;
        }
        if (parsed.kind == LineKind::Key && SameName(parsed.name, key)) {
            // The line is written anew as name=value, as the Windows functions write it: blanks
            // around the name and the value go, the name keeps the file's spelling.
            std::basic_string<Unit> plain(parsed.name);
            plain += Unit('=');
            plain += value;
            text.replace(lines[i].begin, lines[i].end - lines[i].begin, plain);
            return;
        }
        if (parsed.kind != LineKind::Blank && parsed.kind != LineKind::Comment) {
            last = i;
        }
    }
    const Line& anchor = lines[last];
    if (anchor.next == anchor.end) {
        text.insert(anchor.next, ending + keyLine);
    } else {
        text.insert(anchor.next, keyLine + ending);
    }
}

template <typename Unit>
std::basic_string<Unit> FromUtf8(std::string_view text) {
    if constexpr (sizeof(Unit) == 1) {
        return std::string(text);
    } else {
        return Utf8ToUtf16(text);
    }
}

// Line breaks would split the line and NULs would end it early for a caller holding C strings;
// a ']' in a section name or a '=' in a key name could never be read back; a key starting
// with '[' or ';' would turn into a section header or a comment.
bool Writable(std::string_view section, std::string_view key, std::string_view value) {
    auto hasBreak = [](std::string_view text) { return text.find_first_of(std::string_view("\r\n\0", 3)) != text.npos; };
    if (hasBreak(section) || hasBreak(key) || hasBreak(value)) {
        return false;
    }
    if (section.find(']') != section.npos || key.find('=') != key.npos) {
        return false;
    }
    const std::string_view name = TrimBlanks(key);
    return !name.empty() && name.front() != '[' && name.front() != ';';
}

// A value as it would come out of a buffer of bufferChars UTF-16 units: cut at an embedded NUL,
// at most bufferChars - 1 units, and without the first half of a pair the cut broke.
std::u16string CutToBuffer(std::u16string value, size_t bufferChars) {
    const size_t nul = value.find(u'\0');
    if (nul != value.npos) {
        value.resize(nul);
    }
    const size_t room = bufferChars == 0 ? 0 : bufferChars - 1;
    if (value.size() > room) {
        value.resize(room);
        if (!value.empty() && value.back() >= 0xD800 && value.back() <= 0xDBFF) {
            value.pop_back();
        }
    }
    return value;
}

// ---- Encodings ---------------------------------------------------------------------------

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

Document Decode(std::string bytes) {
    Document document;
    const std::string_view view(bytes);
    if (view.starts_with(kUtf16LeBom) || view.starts_with(kUtf16BeBom)) {
        document.encoding = view.starts_with(kUtf16LeBom) ? Encoding::Utf16Le : Encoding::Utf16Be;
        const bool little = document.encoding == Encoding::Utf16Le;
        size_t i = 2;
        document.units.reserve((view.size() - i) / 2);
        for (; i + 1 < view.size(); i += 2) {
            const auto first = static_cast<uint8_t>(view[i]);
            const auto second = static_cast<uint8_t>(view[i + 1]);
            document.units.push_back(static_cast<char16_t>(little ? first | (second << 8) : (first << 8) | second));
        }
        document.oddByte = std::string(view.substr(i));
        return document;
    }
    if (view.starts_with(kUtf8Bom)) {
        document.encoding = Encoding::Utf8Bom;
        bytes.erase(0, kUtf8Bom.size());
    }
    document.bytes = std::move(bytes);
    return document;
}

std::string Encode(const Document& document) {
    switch (document.encoding) {
        case Encoding::Utf8:
            return document.bytes;
        case Encoding::Utf8Bom:
            return std::string(kUtf8Bom) + document.bytes;
        case Encoding::Utf16Le:
        case Encoding::Utf16Be:
            break;
    }
    const bool little = document.encoding == Encoding::Utf16Le;
    std::string bytes(little ? kUtf16LeBom : kUtf16BeBom);
    bytes.reserve(2 + document.units.size() * 2 + document.oddByte.size());
    for (const char16_t unit : document.units) {
        const auto low = static_cast<char>(unit & 0xFF);
        const auto high = static_cast<char>(unit >> 8);
        bytes.push_back(little ? low : high);
        bytes.push_back(little ? high : low);
    }
    bytes += document.oddByte;
    return bytes;
}

// ---- File access and the lock ------------------------------------------------------------

// One lock for every file within the process: the window and the playback thread both write
// config.ini, and each read-modify-write must see the result of the one before it. Reads take
// it too, so they never see a file that is being written in place. Other processes are kept
// apart by the FileWriteLock of each write.
std::mutex& FileLock() {
    static std::mutex lock;
    return lock;
}

LoadResult LoadFile(const std::filesystem::path& file, std::string& bytes) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return LoadResult::Missing;
    }
    if (error || status.type() != std::filesystem::file_type::regular) {
        return LoadResult::Failed;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return LoadResult::Failed;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
