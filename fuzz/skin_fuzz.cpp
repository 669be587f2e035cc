// Feeds arbitrary values to the skin's comma rules and arbitrary description files to the
// skin readers (in a folder of its own under TMPDIR): fields are pieces of the
// value and follow its commas, an entry read from a file is the split of its value, and the
// readers fill their tables from any file without reading outside it.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include "common/Decimal.h"
#include "common/IniFile.h"
#include "common/Language.h"
#include "common/Messages.h"
#include "skin/SkinLayout.h"
#include "FuzzCheck.h"

namespace {

using namespace orv;

class CountingMessages : public MessageSink {
public:
    void ShowMessage(std::string_view, std::string_view) override { ++shown; }
    int shown = 0;
};

constexpr std::array<std::string_view, 4> kSections{"BUTTONPOS", "FUN_STRING", "EDIT", "MACRODISPLAY"};

void CheckSplit(std::string_view value) {
    const SplitSkinValueResult split = SplitSkinValue(value);
    FUZZ_CHECK(split.commas == static_cast<size_t>(std::count(value.begin(), value.end(), ',')));
    if (split.commas == 0) {
        FUZZ_CHECK(split.fields[0] == value);
        for (size_t i = 1; i < split.fields.size(); ++i) {
            FUZZ_CHECK(split.fields[i].empty());
        }
        return;
    }
    for (size_t i = 0; i < 6; ++i) {
        FUZZ_CHECK(split.fields[i].find(',') == std::string::npos);
        FUZZ_CHECK(value.find(split.fields[i]) != std::string_view::npos);
    }
    if (split.commas >= 6) {
        size_t sixth = std::string_view::npos;
        for (int n = 0; n < 6; ++n) {
            sixth = value.find(',', sixth + 1);
        }
        FUZZ_CHECK(split.fields[6] == value.substr(sixth + 1));
    } else {
        FUZZ_CHECK(split.fields[6].empty());
    }
}

// A skin folder of this process's own under TMPDIR (scripts/fuzz points it at memory), removed
// when the run ends.
const std::filesystem::path& SkinFolder() {
    static const std::filesystem::path folder = [] {
        const std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("orv_skin_fuzz_" + std::to_string(::getpid()));
        std::filesystem::create_directories(path / "INI_EN");
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(SkinFolder(), ignored);
        });
        return path;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::string_view payload(reinterpret_cast<const char*>(data) + 2, size - 2);
    CheckSplit(payload);

    const std::filesystem::path& skin = SkinFolder();
    const Language english = Language::English();
    const std::string_view section = kSections[data[0] % kSections.size()];
    const int entry = static_cast<int8_t>(data[1]);
    const auto main = SkinFilePath(skin, SkinFile::Main, english);
    std::ofstream(main, std::ios::binary | std::ios::trunc) << payload;

    CountingMessages messages;
    const auto fields = ReadSkinEntry(main, section, entry, messages, "ORV_GMouse");
    FUZZ_CHECK(fields.has_value());
    const SplitSkinValueResult split =
        SplitSkinValue(ini::Read(main, section, FormatDecimal(entry), kSkinValueBufferChars));
    FUZZ_CHECK(*fields == split.fields);
    FUZZ_CHECK(messages.shown == (split.commas > 6 ? 1 : 0));

    // The whole reader on the same file in each role, now and then: it reads many entries.
    if (data[1] % 64 == 0) {
        // Written, not copied: a copy that a signal interrupts throws (EINTR), and the fuzzer's
        // own timer signals arrive at any moment.
        for (const SkinFile role : {SkinFile::Color, SkinFile::Advanced, SkinFile::Warning}) {
            std::ofstream(SkinFilePath(skin, role, english), std::ios::binary | std::ios::trunc) << payload;
        }
        SkinLayout layout;
        FUZZ_CHECK(LoadSkin(skin, english, layout, messages, "ORV_GMouse"));
    }
    return 0;
}
