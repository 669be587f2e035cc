// Feeds arbitrary bytes to the INI engine as a file: reading must stay within the buffer, and a
// write must change one value and nothing else.
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "common/IniFile.h"
#include "common/Utf.h"

namespace {

// Names differ even without regard to case, so writing one never changes what another reads.
constexpr std::array<std::string_view, 5> kSections{"A", "Config1", "init", "", "s p"};
constexpr std::array<std::string_view, 5> kKeys{"k", "K0", "x", "DPI_SET0", "a b"};

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool IsUtf16(std::string_view bytes) { return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) {
        return 0;
    }
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("orv_ini_fuzz_" + std::to_string(::getpid()) + ".ini");
    const std::string_view section = kSections[data[0] % kSections.size()];
    const std::string_view key = kKeys[data[1] % kKeys.size()];
    const size_t buffer = data[2] % 12;
    const std::string before(reinterpret_cast<const char*>(data) + 3, size - 3);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << before;

    std::array<std::array<std::string, kKeys.size()>, kSections.size()> values;
    for (size_t s = 0; s < kSections.size(); ++s) {
        for (size_t k = 0; k < kKeys.size(); ++k) {
            values[s][k] = orv::ini::Read(file, kSections[s], kKeys[k], 64);
        }
    }
    const std::string cut = orv::ini::Read(file, section, key, buffer);
    Check(orv::Utf8ToUtf16(cut).size() + 1 <= std::max<size_t>(buffer, 1));

    const std::string value = "v" + std::to_string(size);
    Check(orv::ini::Write(file, section, key, value));
    const std::string after = ReadBytes(file);
    Check(orv::ini::Read(file, section, key, 64) == value);
    for (size_t s = 0; s < kSections.size(); ++s) {
        for (size_t k = 0; k < kKeys.size(); ++k) {
            if (kSections[s] != section || kKeys[k] != key) {
                Check(orv::ini::Read(file, kSections[s], kKeys[k], 64) == values[s][k]);
            }
        }
    }

    // The bytes before and after the change are the old ones; what the change removed is part
    // of one value, never a line break.
    size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) {
        ++prefix;
    }
    size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    const std::string_view removed = std::string_view(before).substr(prefix, before.size() - prefix - suffix);
    if (!IsUtf16(before)) {
        Check(removed.find_first_of("\r\n") == std::string_view::npos);
    }
    for (const std::string_view mark : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"}) {
        Check(before.starts_with(mark) == after.starts_with(mark));
    }
    return 0;
}
