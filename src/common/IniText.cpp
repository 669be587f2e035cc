// The INI engine on contents in memory: reading keys and editing them, in every encoding a
// file may have. IniFile.cpp puts the file access and the locks around it.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "common/IniFile.h"
#include "common/Utf.h"

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
//
// Every operation walks the text once, from its start to the end of the section it concerns,
// and keeps no index: memory stays the size of the text, however many lines it has.
namespace orv::ini {

namespace {

template <typename Unit>
using View = std::basic_string_view<Unit>;
template <typename Unit>
using Str = std::basic_string<Unit>;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// Content is [begin, end); the line ending, empty on a last line without one, is [end, next).
struct Line {
    size_t begin = 0;
    size_t end = 0;
    size_t next = 0;
};

enum class LineKind { Blank, Comment, Section, Key, Other };

template <typename Unit>
struct ParsedLine {
    LineKind kind = LineKind::Other;
    View<Unit> name;        // section or key name, without surrounding blanks
    size_t valueBegin = 0;  // key lines: the value without surrounding blanks
    size_t valueEnd = 0;
};

template <typename Unit>
class Lines;
template <typename Unit>
std::optional<Line> SeekSection(Lines<Unit>& lines, View<Unit> section);
template <typename Unit>
bool HasSectionIn(View<Unit> text, View<Unit> section);
template <typename Unit>
ParsedLine<Unit> ParseLine(View<Unit> text, const Line& line);
template <typename Unit>
View<Unit> TrimBlanks(View<Unit> text);
template <typename Unit>
bool SameName(View<Unit> a, View<Unit> b);
template <typename Unit>
View<Unit> Unquote(View<Unit> value);
template <typename Unit>
Str<Unit> LineEnding(View<Unit> text);
template <typename Unit>
Str<Unit> FromUtf8(std::string_view text);

std::u16string AsUtf16(std::string_view text) { return Utf8ToUtf16(text); }
std::u16string AsUtf16(std::u16string_view text) { return std::u16string(text); }
bool IsUtf16(std::string_view bytes) { return bytes.starts_with(kUtf16LeBom) || bytes.starts_with(kUtf16BeBom); }
std::u16string DecodeUtf16(std::string_view bytes);
std::string EncodeUtf16(std::u16string_view units, bool little, std::string_view oddByte);
bool Writable(std::string_view section, std::string_view key, std::string_view value);
std::u16string CutToBuffer(std::u16string value, size_t bufferChars);

// The lengths of the names a walk looks for. Most lines of a large file name none of them, and
// telling that by length alone keeps the cost of a line flat however many keys one walk reads.
class NameLengths {
public:
    void Add(size_t length) {
        if (length < 64) {
            short_ |= uint64_t{1} << length;
        } else {
            long_ = true;
        }
    }
    bool MayMatch(size_t length) const { return length < 64 ? (short_ >> length & 1) != 0 : long_; }

private:
    uint64_t short_ = 0;
    bool long_ = false;
};

// The values of keys (already trimmed) in the first section named section, the first line of
// each name; no value when the section is missing.
template <typename Unit>
std::optional<std::vector<std::optional<View<Unit>>>> FindValues(View<Unit> text, View<Unit> section,
                                                                 std::span<const Str<Unit>> keys);
// prefix and the text after setting the entries, or no value when the text would stay the same.
template <typename Unit>
std::optional<Str<Unit>> SetValues(View<Unit> prefix, View<Unit> text, View<Unit> section,
                                   std::span<const std::pair<Str<Unit>, Str<Unit>>> entries);

}  // namespace

Snapshot Snapshot::FromBytes(std::string bytes) {
    Snapshot snapshot;
    snapshot.Take(std::move(bytes));
    return snapshot;
}

void Snapshot::Take(std::string bytes) {
    state_ = FileState::Read;
    if (IsUtf16(bytes)) {
        utf16_ = true;
        units_ = DecodeUtf16(bytes);
        return;
    }
    bytes_ = std::move(bytes);
    textBegin_ = std::string_view(bytes_).starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
}

bool Snapshot::HasSection(std::string_view section) const {
    if (utf16_) {
        const std::u16string wanted = Utf8ToUtf16(section);
        return HasSectionIn<char16_t>(units_, TrimBlanks<char16_t>(wanted));
    }
    return HasSectionIn<char>(std::string_view(bytes_).substr(textBegin_), TrimBlanks(section));
}

std::string Snapshot::Read(std::string_view section, std::string_view key, size_t bufferChars) const {
    const KeyRead one{key, bufferChars};
    const auto values = ReadKeys(section, std::span(&one, 1));
    return values ? std::move(values->front()) : std::string();
}

std::optional<std::vector<std::string>> Snapshot::ReadKeys(std::string_view section,
                                                           std::span<const KeyRead> keys) const {
    auto cut = [&](auto&& found) {
        std::vector<std::string> values;
        values.reserve(keys.size());
        for (size_t i = 0; i < keys.size(); ++i) {
            const auto& value = (*found)[i];
            values.push_back(Utf16ToUtf8(CutToBuffer(value ? AsUtf16(*value) : std::u16string(), keys[i].bufferChars)));
        }
        return values;
    };
    if (utf16_) {
        std::vector<std::u16string> wanted;
        for (const KeyRead& k : keys) {
            wanted.emplace_back(TrimBlanks<char16_t>(Utf8ToUtf16(k.key)));
        }
        const std::u16string wantedSection = Utf8ToUtf16(section);
        const auto found = FindValues<char16_t>(units_, TrimBlanks<char16_t>(wantedSection), wanted);
        return found ? std::optional(cut(found)) : std::nullopt;
    }
    std::vector<std::string> wanted;
    for (const KeyRead& k : keys) {
        wanted.emplace_back(TrimBlanks(k.key));
    }
    const auto found = FindValues<char>(std::string_view(bytes_).substr(textBegin_), TrimBlanks(section), wanted);
    return found ? std::optional(cut(found)) : std::nullopt;
}

Edit EditKeys(std::string& bytes, std::string_view section, Entries entries) {
    for (const auto& [key, value] : entries) {
        if (!Writable(section, key, value)) {
            return Edit::Refused;
        }
    }
    if (IsUtf16(bytes)) {
        std::vector<std::pair<std::u16string, std::u16string>> wide;
        for (const auto& [key, value] : entries) {
            wide.emplace_back(FromUtf8<char16_t>(key), FromUtf8<char16_t>(value));
        }
        std::u16string units = DecodeUtf16(bytes);
        const std::u16string wideSection = Utf8ToUtf16(section);
        auto changed = SetValues<char16_t>({}, units, wideSection, wide);
        if (!changed) {
            return Edit::Unchanged;
        }
        // A large file is held three times over already; the old units go before the new
        // bytes come.
        std::u16string().swap(units);
        const bool little = std::string_view(bytes).starts_with(kUtf16LeBom);
        const std::string oddByte = bytes.size() % 2 == 1 ? bytes.substr(bytes.size() - 1) : std::string();
        bytes = EncodeUtf16(*changed, little, oddByte);
        return Edit::Changed;
    }
    std::vector<std::pair<std::string, std::string>> narrow(entries.begin(), entries.end());
    const size_t textBegin = std::string_view(bytes).starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
    const std::string_view bom = std::string_view(bytes).substr(0, textBegin);
    auto changed = SetValues<char>(bom, std::string_view(bytes).substr(textBegin), section, narrow);
    if (!changed) {
        return Edit::Unchanged;
    }
    bytes = std::move(*changed);
    return Edit::Changed;
}

namespace {

// ---- Reading and editing ------------------------------------------------------------------

template <typename Unit>
std::optional<std::vector<std::optional<View<Unit>>>> FindValues(View<Unit> text, View<Unit> section,
                                                                 std::span<const Str<Unit>> keys) {
    Lines<Unit> lines(text);
    if (!SeekSection(lines, section)) {
        return std::nullopt;
    }
    std::vector<std::optional<View<Unit>>> values(keys.size());
    size_t missing = 0;
    NameLengths lengths;
    for (const Str<Unit>& key : keys) {
        if (!key.empty()) {
            ++missing;
            lengths.Add(key.size());
        }
    }
    Line line;
    while (missing > 0 && lines.Next(line)) {
        const ParsedLine<Unit> parsed = ParseLine(text, line);
        if (parsed.kind == LineKind::Section) {
            break;
        }
        if (parsed.kind != LineKind::Key || !lengths.MayMatch(parsed.name.size())) {
            continue;
        }
        for (size_t i = 0; i < keys.size(); ++i) {
            if (!values[i] && !keys[i].empty() && SameName<Unit>(parsed.name, keys[i])) {
                values[i] = Unquote(text.substr(parsed.valueBegin, parsed.valueEnd - parsed.valueBegin));
                --missing;
            }
        }
    }
    return values;
}

// One key the entries set: named as the first entry of that name spells it, valued as the
// last one says.
template <typename Unit>
struct Setting {
    View<Unit> key;
    View<Unit> value;
    std::optional<Line> line;  // the key's line in the section, when it has one
    View<Unit> fileName;       // the name as that line spells it
};

template <typename Unit>
std::optional<Str<Unit>> SetValues(View<Unit> prefix, View<Unit> text, View<Unit> section,
                                   std::span<const std::pair<Str<Unit>, Str<Unit>>> entries) {
    section = TrimBlanks(section);
    std::vector<Setting<Unit>> settings;
    for (const auto& [key, value] : entries) {
        const View<Unit> name = TrimBlanks<Unit>(key);
        auto same = std::find_if(settings.begin(), settings.end(),
                                 [&](const Setting<Unit>& s) { return SameName(s.key, name); });
        if (same == settings.end()) {
            settings.push_back({name, value, std::nullopt, {}});
        } else {
            same->value = value;
        }
    }
    if (settings.empty()) {
        return std::nullopt;
    }
    const Str<Unit> ending = LineEnding(text);
    auto keyLine = [](View<Unit> name, View<Unit> value) {
        Str<Unit> line(name);
        line += Unit('=');
        line += value;
        return line;
    };
    // Room for the text and everything the entries could add, so a large file is copied once.
    auto start = [&] {
        size_t room = prefix.size() + text.size() + section.size() + 2 * ending.size() + 2;
        for (const Setting<Unit>& s : settings) {
            room += s.key.size() + s.value.size() + ending.size() + 1;
        }
        Str<Unit> out;
        out.reserve(room);
        out += prefix;
        return out;
    };

    Lines<Unit> lines(text);
    const std::optional<Line> header = SeekSection(lines, section);
    if (!header) {
        Str<Unit> out = start();
        out += text;
        if (!text.empty() && text.back() != Unit('\n') && text.back() != Unit('\r')) {
            out += ending;
        }
        out += Unit('[');
        out += section;
        out += Unit(']');
        out += ending;
        for (const Setting<Unit>& s : settings) {
            out += keyLine(s.key, s.value) + ending;
        }
        return out;
    }

    // A new key follows the section's last line of content, so blank lines and comments that
    // lead into the next section stay with it.
    NameLengths lengths;
    for (const Setting<Unit>& s : settings) {
        lengths.Add(s.key.size());
    }
    Line last = *header;
    Line line;
    while (lines.Next(line)) {
        const ParsedLine<Unit> parsed = ParseLine(text, line);
        if (parsed.kind == LineKind::Section) {
            break;
        }
        if (parsed.kind == LineKind::Key && lengths.MayMatch(parsed.name.size())) {
            for (Setting<Unit>& s : settings) {
                if (!s.line && SameName(parsed.name, s.key)) {
                    s.line = line;
                    s.fileName = parsed.name;
                    break;
                }
            }
        }
        if (parsed.kind != LineKind::Blank && parsed.kind != LineKind::Comment) {
            last = line;
        }
    }

    // A found line is written anew as name=value, as the Windows functions write it: blanks
    // around the name and the value go, the name keeps the file's spelling.
    std::vector<std::pair<Line, Str<Unit>>> replaced;
    bool added = false;
    bool changed = false;
    for (const Setting<Unit>& s : settings) {
        if (!s.line) {
            added = true;
            continue;
        }
        Str<Unit> plain = keyLine(s.fileName, s.value);
        changed = changed || text.substr(s.line->begin, s.line->end - s.line->begin) != View<Unit>(plain);
        replaced.emplace_back(*s.line, std::move(plain));
    }
    if (!changed && !added) {
        return std::nullopt;
    }
    std::sort(replaced.begin(), replaced.end(),
              [](const auto& a, const auto& b) { return a.first.begin < b.first.begin; });

    Str<Unit> out = start();
    size_t copied = 0;
    for (const auto& [at, plain] : replaced) {
        out += text.substr(copied, at.begin - copied);
        out += plain;
        copied = at.end;
    }
    if (added) {
        // New lines go between the last line's content and its ending, each after a line
        // ending of the file's: a line ending written after that ending could join the next
        // one ("\r" before "\n") and swallow an empty line.
        out += text.substr(copied, last.end - copied);
        copied = last.end;
        for (const Setting<Unit>& s : settings) {
            if (!s.line) {
                out += ending + keyLine(s.key, s.value);
            }
        }
    }
    out += text.substr(copied);
    return out;
}

// ---- The line model ----------------------------------------------------------------------

template <typename Unit>
class Lines {
public:
    explicit Lines(View<Unit> text) : text_(text) {}

    bool Next(Line& line) {
        const size_t size = text_.size();
        if (at_ >= size) {
            return false;
        }
        size_t end = at_;
        while (end < size && text_[end] != Unit('\n') && text_[end] != Unit('\r')) {
            ++end;
        }
        size_t next = end;
        if (next < size) {
            next += (text_[next] == Unit('\r') && next + 1 < size && text_[next + 1] == Unit('\n')) ? 2 : 1;
        }
        line = {at_, end, next};
        at_ = next;
        return true;
    }

    View<Unit> Text() const { return text_; }

private:
    View<Unit> text_;
    size_t at_ = 0;
};

template <typename Unit>
bool HasSectionIn(View<Unit> text, View<Unit> section) {
    Lines<Unit> lines(text);
    return SeekSection(lines, section).has_value();
}

// Walks lines up to and including the header of the first section named section (already
// trimmed); the walk then goes on with the section's first line.
template <typename Unit>
std::optional<Line> SeekSection(Lines<Unit>& lines, View<Unit> section) {
    Line line;
    while (lines.Next(line)) {
        const ParsedLine<Unit> parsed = ParseLine(lines.Text(), line);
        if (parsed.kind == LineKind::Section && SameName(parsed.name, section)) {
            return line;
        }
    }
    return std::nullopt;
}

template <typename Unit>
bool IsBlank(Unit unit) {
    return unit == Unit(' ') || unit == Unit('\t');
}

template <typename Unit>
View<Unit> TrimBlanks(View<Unit> text) {
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
bool SameName(View<Unit> a, View<Unit> b) {
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
ParsedLine<Unit> ParseLine(View<Unit> text, const Line& line) {
    ParsedLine<Unit> parsed;
    size_t i = line.begin;
    while (i < line.end && IsBlank(text[i])) {
        ++i;
    }
    if (i == line.end) {
        parsed.kind = LineKind::Blank;
        return parsed;
    }
    const View<Unit> content = text.substr(i, line.end - i);
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

template <typename Unit>
View<Unit> Unquote(View<Unit> value) {
    if (value.size() >= 2 && (value.front() == Unit('"') || value.front() == Unit('\'')) &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// New lines take the file's own line ending, its first; a file without one gets the Windows
// ending, so files written here and on Windows look alike.
template <typename Unit>
Str<Unit> LineEnding(View<Unit> text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == Unit('\n')) {
            return {Unit('\n')};
        }
        if (text[i] == Unit('\r')) {
            if (i + 1 < text.size() && text[i + 1] == Unit('\n')) {
                return {Unit('\r'), Unit('\n')};
            }
            return {Unit('\r')};
        }
    }
    return {Unit('\r'), Unit('\n')};
}

template <typename Unit>
Str<Unit> FromUtf8(std::string_view text) {
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
    auto hasBreak = [](std::string_view text) {
        return text.find_first_of(std::string_view("\r\n\0", 3)) != text.npos;
    };
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

// ---- UTF-16 files ------------------------------------------------------------------------

// The units after the byte order mark, kept as they are (unpaired surrogates too); an odd
// last byte is no unit and is left out.
std::u16string DecodeUtf16(std::string_view bytes) {
    const bool little = bytes.starts_with(kUtf16LeBom);
    std::u16string units;
    units.reserve((bytes.size() - 2) / 2);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<uint8_t>(bytes[i]);
        const auto second = static_cast<uint8_t>(bytes[i + 1]);
        units.push_back(static_cast<char16_t>(little ? first | (second << 8) : (first << 8) | second));
    }
    return units;
}

std::string EncodeUtf16(std::u16string_view units, bool little, std::string_view oddByte) {
    std::string bytes(little ? kUtf16LeBom : kUtf16BeBom);
    bytes.reserve(2 + units.size() * 2 + oddByte.size());
    for (const char16_t unit : units) {
        const auto low = static_cast<char>(unit & 0xFF);
        const auto high = static_cast<char>(unit >> 8);
        bytes.push_back(little ? low : high);
        bytes.push_back(little ? high : low);
    }
    bytes += oddByte;
    return bytes;
}

}  // namespace

}  // namespace orv::ini
