#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/Language.h"
#include "common/Messages.h"

namespace orv {

// One rectangle of a skinned page, in the pixels of the page's pictures. It covers
// x <= px < x + width and y <= py < y + height.
struct SkinRegion {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    std::string label;  // UTF-8; drawn centred in the region, may be empty

    bool Contains(int32_t px, int32_t py) const {
        // In 64 bits: the distance from a far-off edge need not fit in 32.
        return px >= x && py >= y && int64_t{px} - x < width && int64_t{py} - y < height;
    }
};

// The position of one child control of the advanced page, right and bottom exclusive.
struct SkinRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

inline constexpr size_t kMainRegionCount = 124;
inline constexpr size_t kColorRegionCount = 13;
inline constexpr size_t kAdvancedRegionCount = 52;
inline constexpr size_t kWarningRegionCount = 3;
inline constexpr size_t kFunctionNameCount = 55;
inline constexpr size_t kControlRectCount = 4;

// Indices into ControlRects.
inline constexpr size_t kRepeatCountEditRect = 0;
inline constexpr size_t kMacroNameEditRect = 1;
inline constexpr size_t kMacroListRect = 2;
inline constexpr size_t kEventListRect = 3;

// Everything the window reads from the skin description files of one language.
struct SkinLayout {
    std::array<SkinRegion, kMainRegionCount> MainRegions{};
    std::array<SkinRegion, kColorRegionCount> ColorRegions{};
    std::array<SkinRegion, kAdvancedRegionCount> AdvancedRegions{};
    std::array<SkinRegion, kWarningRegionCount> WarningRegions{};
    // The text shown for FunctionCode c; index 0 stays empty.
    std::array<std::string, kFunctionNameCount> FunctionNames{};
    // RepeatCountEdit, MacroNameEdit, MacroList, EventList.
    std::array<SkinRect, kControlRectCount> ControlRects{};
};

inline constexpr size_t kSkinFieldCount = 7;
using SkinFields = std::array<std::string, kSkinFieldCount>;

// Values are read as into a buffer of this many characters, so they are cut after 259.
inline constexpr size_t kSkinValueBufferChars = 260;

// One entry of a description file split into its seven fields. A missing file shows the
// missing-file text and gives nothing: the caller must stop reading the skin (the program then
// ends). More than six commas show the skin-entry error; the fields are still returned.
// caption is the program's name, the caption of both messages.
std::optional<SkinFields> ReadSkinEntry(const std::filesystem::path& file, std::string_view section, int entry,
                                        MessageSink& messages, std::string_view caption);

// The comma rules of one value: every field ends at its comma, a field whose comma is
// missing is empty and makes the next field start over from the beginning of the value, and
// a value without any comma is field 0 alone.
struct SplitSkinValueResult {
    SkinFields fields;
    size_t commas = 0;
};
SplitSkinValueResult SplitSkinValue(std::string_view value);

// Which description file a loader reads.
enum class SkinFile { Main, Color, Advanced, Warning };

// The description file of a role for a language.
std::filesystem::path SkinFilePath(const std::filesystem::path& skinDirectory, SkinFile role, Language language);

// Each loader fills its tables from the file of the language, entry by entry in ascending key
// order. It returns false when the file is missing (after the message); the caller must then
// read nothing more and end the program.
bool LoadMainSkin(const std::filesystem::path& skinDirectory, Language language, SkinLayout& layout,
                  MessageSink& messages, std::string_view caption);
bool LoadColorSkin(const std::filesystem::path& skinDirectory, Language language, SkinLayout& layout,
                   MessageSink& messages, std::string_view caption);
bool LoadAdvancedSkin(const std::filesystem::path& skinDirectory, Language language, SkinLayout& layout,
                      MessageSink& messages, std::string_view caption);
bool LoadWarningSkin(const std::filesystem::path& skinDirectory, Language language, SkinLayout& layout,
                     MessageSink& messages, std::string_view caption);

// The four loaders in the order start-up and the language switch use (main, color, advanced,
// warning), stopping at the first missing file.
bool LoadSkin(const std::filesystem::path& skinDirectory, Language language, SkinLayout& layout, MessageSink& messages,
              std::string_view caption);

}  // namespace orv
