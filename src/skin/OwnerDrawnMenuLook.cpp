#include "skin/OwnerDrawnMenuLook.h"

#include "common/Utf.h"

namespace orv {

namespace {

constexpr int32_t kCharacterWidth = 8;
constexpr int32_t kItemHeight = 20;
constexpr int32_t kSeparatorHeight = 1;

uint8_t Channel(int32_t start, int32_t step, int32_t line) {
    return static_cast<uint8_t>((start + step * line) & 0xFF);
}

}  // namespace

MenuItemSize MeasureMenuItem(std::string_view caption, bool separator) {
    const auto characters = static_cast<int32_t>(Utf8ToUtf16(caption).size());
    return {kCharacterWidth * characters, separator ? kSeparatorHeight : kItemHeight};
}

std::vector<MenuRgb> MenuHighlightGradient(int32_t height) {
    std::vector<MenuRgb> lines;
    if (height <= 0) {
        return lines;
    }
    const MenuRgb from = kMenuHighlightTop;
    const MenuRgb to = kMenuHighlightBottom;
    const int32_t stepRed = (to.red - from.red) / height;
    const int32_t stepGreen = (to.green - from.green) / height;
    const int32_t stepBlue = (to.blue - from.blue) / height;
    lines.reserve(static_cast<size_t>(height));
    for (int32_t k = 0; k < height; ++k) {
        lines.push_back(
            {Channel(from.red, stepRed, k), Channel(from.green, stepGreen, k), Channel(from.blue, stepBlue, k)});
    }
    return lines;
}

}  // namespace orv
