// Feeds arbitrary contents to the INI engine, in memory, as UTF-8 or UTF-16 of either byte
// order: reading must stay within the contents and cut values as a buffer would, a write must
// change one value and nothing else, and several keys written at once must land as if written
// one after the other. The program rules are read from the same contents: whatever the file
// holds, what they take is a rule the program could have written.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/IniFile.h"
#include "common/Utf.h"
#include "settings/ProgramRules.h"
#include "FuzzCheck.h"

namespace {

using orv::ini::Edit;
using orv::ini::Snapshot;
using Entries = std::vector<std::pair<std::string_view, std::string_view>>;

// Names differ even without regard to case, so writing one never changes what another reads.
constexpr std::array<std::string_view, 5> kSections{"A", "Config1", "init", "", "s p"};
constexpr std::array<std::string_view, 5> kKeys{"k", "K0", "x", "DPI_SET0", "a b"};
// Each value as written, and as it reads back: blanks around it and one pair of quotes go.
constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kValues{{
    {"v", "v"},
    {"", ""},
    {"a=b", "a=b"},
    {"'q'", "q"},
    {" x y\t", "x y"},
    {"\xE4\xB8\xAD\xF0\x9F\x98\x80", "\xE4\xB8\xAD\xF0\x9F\x98\x80"},
}};

bool IsUtf16(std::string_view bytes) { return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"); }

// The contents the input stands for: its bytes as they are, or each byte widened to one UTF-16
// unit behind a byte order mark, so that both byte orders see meaningful text too.
std::string Contents(uint8_t form, std::string_view payload) {
    if (form % 3 == 0) {
        return std::string(payload);
    }
    const bool little = form % 3 == 1;
    std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
    for (const char c : payload) {
        bytes += little ? c : '\0';
        bytes += little ? '\0' : c;
    }
    return bytes;
}

// The text as units, byte order mark and odd byte left out, to compare line breaks in.
std::u16string Units(std::string_view bytes) {
    std::u16string units;
    if (IsUtf16(bytes)) {
        const bool little = bytes.starts_with("\xFF\xFE");
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const auto a = static_cast<uint8_t>(bytes[i]);
            const auto b = static_cast<uint8_t>(bytes[i + 1]);
            units.push_back(static_cast<char16_t>(little ? a | b << 8 : a << 8 | b));
        }
        return units;
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    for (const char c : bytes) {
        units.push_back(static_cast<uint8_t>(c));
    }
    return units;
}

// Every key of every section, a section at a time.
std::array<std::array<std::string, kKeys.size()>, kSections.size()> ReadAll(const Snapshot& snapshot) {
    static const std::array<orv::ini::KeyRead, kKeys.size()> reads = [] {
        std::array<orv::ini::KeyRead, kKeys.size()> all;
        for (size_t k = 0; k < kKeys.size(); ++k) {
            all[k] = {kKeys[k], 64};
        }
        return all;
    }();
    std::array<std::array<std::string, kKeys.size()>, kSections.size()> values;
    for (size_t s = 0; s < kSections.size(); ++s) {
        const auto section = snapshot.ReadKeys(kSections[s], reads);
        FUZZ_CHECK(section.has_value() == snapshot.HasSection(kSections[s]));
        if (section) {
            std::copy(section->begin(), section->end(), values[s].begin());
        }
    }
    return values;
}

// What the write replaced is part of one line: never a line break, and the byte order mark
// and an odd last byte stay.
void CheckOnlyOneLineChanged(const std::string& before, const std::string& after) {
    for (const std::string_view mark : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"}) {
        FUZZ_CHECK(before.starts_with(mark) == after.starts_with(mark));
    }
    if (IsUtf16(before) && before.size() % 2 == 1) {
        FUZZ_CHECK(after.size() % 2 == 1 && after.back() == before.back());
    }
    const std::u16string old = Units(before);
    const std::u16string now = Units(after);
    size_t prefix = 0;
    while (prefix < old.size() && prefix < now.size() && old[prefix] == now[prefix]) {
        ++prefix;
    }
    size_t suffix = 0;
    while (suffix < old.size() - prefix && suffix < now.size() - prefix &&
           old[old.size() - 1 - suffix] == now[now.size() - 1 - suffix]) {
        ++suffix;
    }
    const std::u16string_view removed = std::u16string_view(old).substr(prefix, old.size() - prefix - suffix);
    FUZZ_CHECK(removed.find_first_of(u"\r\n") == std::u16string_view::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) {
        return 0;
    }
    const size_t s = data[0] % kSections.size();
    const size_t k = data[1] % kKeys.size();
    const auto& [value, readBack] = kValues[data[2] % kValues.size()];
    const size_t buffer = data[3] % 12;
    const std::string before = Contents(data[4], std::string_view(reinterpret_cast<const char*>(data) + 5, size - 5));

    const Snapshot read = Snapshot::FromBytes(before);
    const orv::RulesRead rules = orv::ReadProgramRules(read);
    FUZZ_CHECK(rules.rules.rules.size() <= orv::kMaxProgramRules);
    for (const orv::ProgramRule& rule : rules.rules.rules) {
        FUZZ_CHECK(orv::IsProgramName(rule.program) && rule.profile >= 1 && rule.profile <= 5);
    }
    const auto values = ReadAll(read);
    const std::string cut = read.Read(kSections[s], kKeys[k], buffer);
    FUZZ_CHECK(read.Read(kSections[s], kKeys[k], 64) == values[s][k]);
    FUZZ_CHECK(orv::Utf8ToUtf16(cut).size() + 1 <= std::max<size_t>(buffer, 1));
    FUZZ_CHECK(orv::Utf8ToUtf16(values[s][k]).starts_with(orv::Utf8ToUtf16(cut)));

    // One key.
    std::string after = before;
    const Edit edit = orv::ini::EditKeys(after, kSections[s], Entries{{kKeys[k], value}});
    FUZZ_CHECK(edit != Edit::Refused);
    FUZZ_CHECK((edit == Edit::Changed) == (after != before));
    const auto written = ReadAll(Snapshot::FromBytes(after));
    for (size_t i = 0; i < kSections.size(); ++i) {
        for (size_t j = 0; j < kKeys.size(); ++j) {
            FUZZ_CHECK(written[i][j] == (i == s && j == k ? std::string(readBack) : values[i][j]));
        }
    }
    CheckOnlyOneLineChanged(before, after);

    // Several keys, one of them twice, equal writing them one by one.
    const Entries entries{{kKeys[k], value}, {kKeys[(k + 1) % kKeys.size()], "1"}, {kKeys[k], "2"}};
    std::string together = before;
    FUZZ_CHECK(orv::ini::EditKeys(together, kSections[s], entries) != Edit::Refused);
    std::string oneByOne = before;
    for (const auto& entry : entries) {
        orv::ini::EditKeys(oneByOne, kSections[s], Entries{entry});
    }
    FUZZ_CHECK(together == oneByOne);
    return 0;
}
