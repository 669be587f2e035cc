#include "skin/SkinLayout.h"

#include <algorithm>
#include <system_error>

#include "common/Decimal.h"
#include "common/IniFile.h"
#include "common/Texts.h"

namespace orv {

namespace {

constexpr std::string_view kButtonPos = "BUTTONPOS";

bool FileExists(const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::is_regular_file(file, error);
}

SkinRegion RegionFrom(const SkinFields& f) {
    return SkinRegion{ParseDecimal(f[0]), ParseDecimal(f[1]), ParseDecimal(f[2]), ParseDecimal(f[3]), f[4]};
}

SkinRect RectFrom(const SkinFields& f) {
    const int64_t x = ParseDecimal(f[0]);
    const int64_t y = ParseDecimal(f[1]);
    // Saturate rather than overflow on absurd hand-edited numbers.
    auto clamp = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    return SkinRect{clamp(x), clamp(y), clamp(x + ParseDecimal(f[2])), clamp(y + ParseDecimal(f[3]))};
}

template <size_t N>
bool ReadRegions(const std::filesystem::path& file, std::array<SkinRegion, N>& regions, MessageSink& messages,
                 std::string_view caption) {
    for (size_t i = 0; i < N; ++i) {
        const auto fields = ReadSkinEntry(file, kButtonPos, static_cast<int>(i), messages, caption);
        if (!fields) {
            return false;
        }
        regions[i] = RegionFrom(*fields);
    }
    return true;
}

}  // namespace

std::optional<SkinFields> ReadSkinEntry(const std::filesystem::path& file, std::string_view section, int entry,
                                        MessageSink& messages, std::string_view caption) {
    if (!FileExists(file)) {
        messages.ShowMessage(caption, Text(TextId::FileMissing, {}));
        return std::nullopt;
    }
    const std::string value = ini::Read(file, section, FormatDecimal(entry), kSkinValueBufferChars);
    SplitSkinValueResult split = SplitSkinValue(value);
    if (split.commas > 6) {
        messages.ShowMessage(caption, Text(TextId::SkinEntryError, {}));
    }
    return std::move(split.fields);
}

std::filesystem::path SkinFilePath(const std::filesystem::path& skinDirectory, SkinFile role, Language language) {
    const bool english = language.IsEnglish();
    const char* name = "";
    switch (role) {
    case SkinFile::Main:
        name = english ? "skin_main_en.ini" : "skin_main.ini";
        break;
    case SkinFile::Color:
        name = english ? "skin_color_en.ini" : "skin_color.ini";
        break;
    case SkinFile::Advanced:
        name = english ? "skin_advance_en.ini" : "skin_advance.ini";
        break;
    case SkinFile::Warning:
        name = english ? "LBWarning_en.ini" : "LBWarning.ini";
        break;
    }
    return skinDirectory / (english ? "INI_EN" : "INI_CN") / name;
}

bool LoadMainSkin(const std::filesystem::path& skinDirectory, Language language, SkinLayout& layout,
                  MessageSink& messages, std::string_view caption) {
    const auto file = SkinFilePath(skinDirectory, SkinFile::Main, language);
    if (!ReadRegions(file, layout.MainRegions, messages, caption)) {
        return false;
    }
    layout.FunctionNames[0].clear();
    for (size_t code = 1; code < kFunctionNameCount; ++code) {
        const auto fields = ReadSkinEntry(file, "FUN_STRING", static_cast<int>(code), messages, caption);
        if (!fields) {
            return false;
        }
        layout.FunctionNames[code] = (*fields)[0];
    }
    return true;
}

bool LoadColorSkin(const std::filesystem::path& skinDirectory, Language language, SkinLayout& layout,
                   MessageSink& messages, std::string_view caption) {
    return ReadRegions(SkinFilePath(skinDirectory, SkinFile::Color, language), layout.ColorRegions, messages, caption);
}

bool LoadAdvancedSkin(const std::filesystem::path& skinDirectory, Language language, SkinLayout& layout,
                      MessageSink& messages, std::string_view caption) {
    const auto file = SkinFilePath(skinDirectory, SkinFile::Advanced, language);
    if (!ReadRegions(file, layout.AdvancedRegions, messages, caption)) {
        return false;
    }
    const struct {
        std::string_view section;
        int entry;
    } sources[kControlRectCount] = {{"EDIT", 3}, {"EDIT", 4}, {"MACRODISPLAY", 1}, {"MACRODISPLAY", 2}};
    for (size_t i = 0; i < kControlRectCount; ++i) {
        const auto fields = ReadSkinEntry(file, sources[i].section, sources[i].entry, messages, caption);
        if (!fields) {
            return false;
        }
        layout.ControlRects[i] = RectFrom(*fields);
    }
    return true;
}

bool LoadWarningSkin(const std::filesystem::path& skinDirectory, Language language, SkinLayout& layout,
                     MessageSink& messages, std::string_view caption) {
    return ReadRegions(SkinFilePath(skinDirectory, SkinFile::Warning, language), layout.WarningRegions, messages,
                       caption);
}

bool LoadSkin(const std::filesystem::path& skinDirectory, Language language, SkinLayout& layout, MessageSink& messages,
              std::string_view caption) {
    return LoadMainSkin(skinDirectory, language, layout, messages, caption) &&
           LoadColorSkin(skinDirectory, language, layout, messages, caption) &&
           LoadAdvancedSkin(skinDirectory, language, layout, messages, caption) &&
           LoadWarningSkin(skinDirectory, language, layout, messages, caption);
}

}  // namespace orv
