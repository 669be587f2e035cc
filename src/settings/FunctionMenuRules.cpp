#include "settings/FunctionMenuRules.h"

#include <algorithm>

#include "settings/ProfileSettings.h"

namespace orv {

namespace {

constexpr int32_t kFirstSubMenuOpener = 7;
constexpr int32_t kLastSubMenuOpener = 10;
constexpr int32_t kUserMacroPage = 9;
constexpr int32_t kUserMacroSlots = kLastUserMacroCode - kFirstUserMacroCode + 1;

int32_t RowsOffered(int32_t menuRow) {
    int32_t rows = 0;
    while (rows < kSubMenuMaskRows &&
           FunctionCodeForMenuRow(static_cast<uint8_t>(menuRow), static_cast<uint8_t>(rows + 1)) >= 0) {
        ++rows;
    }
    return rows;
}

}  // namespace

MenuGeometry MainMenuGeometry(int32_t maskWidth, int32_t maskHeight) {
    const int32_t rowHeight = std::max(maskHeight, 0) / kMainMenuRows;
    return {std::max(maskWidth, 0), rowHeight, kMainMenuRows * rowHeight + 1};
}

MenuGeometry SubMenuGeometry(int32_t maskWidth, int32_t maskHeight, int32_t rows) {
    const int32_t rowHeight = std::max(maskHeight, 0) / kSubMenuMaskRows;
    return {std::max(maskWidth, 0), rowHeight, rows > 0 ? rows * rowHeight + 1 : 0};
}

int32_t MenuRowAt(int32_t px, int32_t py, int32_t width, int32_t rowHeight, int32_t rows) {
    if (px < 0 || px >= width || py < 0 || rowHeight <= 0) {
        return kNoMenuRow;
    }
    const int32_t row = py / rowHeight + 1;
    return row <= rows ? row : kNoMenuRow;
}

bool OpensSubMenu(int32_t menuRow) { return menuRow >= kFirstSubMenuOpener && menuRow <= kLastSubMenuOpener; }

int32_t SubMenuRowCount(int32_t menuRow, int32_t macroCount) {
    if (!OpensSubMenu(menuRow)) {
        return 0;
    }
    // A hand-edited macro file may claim more macros than there are slots.
    if (menuRow == kUserMacroPage) {
        return std::clamp(macroCount, 0, kUserMacroSlots);
    }
    return RowsOffered(menuRow);
}

int32_t SubMenuTop(int32_t menuRow, int32_t macroCount, int32_t rowHeight) {
    return (menuRow - SubMenuRowCount(menuRow, macroCount)) * rowHeight;
}

std::optional<int32_t> MainMenuChoice(int32_t menuRow) {
    if (menuRow < 1 || menuRow >= kFirstSubMenuOpener) {
        return std::nullopt;
    }
    return FunctionCodeForMenuRow(static_cast<uint8_t>(menuRow), 0);
}

std::optional<int32_t> SubMenuChoice(int32_t menuRow, int32_t subMenuRow, int32_t macroCount) {
    if (subMenuRow < 1 || subMenuRow > SubMenuRowCount(menuRow, macroCount)) {
        return std::nullopt;
    }
    const int32_t code = FunctionCodeForMenuRow(static_cast<uint8_t>(menuRow), static_cast<uint8_t>(subMenuRow));
    if (code < 0) {
        return std::nullopt;
    }
    return code;
}

}  // namespace orv
