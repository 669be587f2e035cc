#pragma once
#include <cstdint>
#include <optional>

namespace orv {

// The function menu of a button box: a main menu of ten rows, where rows 1..6 choose a
// function and rows 7..10 each open a sub-menu of functions beside it. Both menus are cut into
// rows from the size of their mask pictures; what a row offers comes from the function-code
// table.

// What a row hit test gives outside every row.
inline constexpr int32_t kNoMenuRow = 255;
inline constexpr int32_t kMainMenuRows = 10;
// The main menu's hit test tries two rows more than it draws; the window holds only the first
// pixel line of row 11, and choosing it does nothing.
inline constexpr int32_t kMainMenuHitRows = 12;
// The sub-menu's mask is twelve rows high: the longest page, twelve user macros.
inline constexpr int32_t kSubMenuMaskRows = 12;

struct MenuGeometry {
    int32_t width = 0;
    int32_t rowHeight = 0;
    // The window's height: the rows and the one pixel line below them; 0 without rows.
    int32_t height = 0;
};

// The main menu from the size of its mask: ten rows of a tenth of the mask's height.
MenuGeometry MainMenuGeometry(int32_t maskWidth, int32_t maskHeight);
// A sub-menu page of the given rows from the size of its mask: rows of a twelfth of its height.
MenuGeometry SubMenuGeometry(int32_t maskWidth, int32_t maskHeight, int32_t rows);

// Row 1..rows under the point: row i covers 0 <= x < width, rowHeight * (i - 1) <= y <
// rowHeight * i. kNoMenuRow elsewhere.
int32_t MenuRowAt(int32_t px, int32_t py, int32_t width, int32_t rowHeight, int32_t rows);

// Main-menu rows 7..10 open a sub-menu when the mouse rests on them.
bool OpensSubMenu(int32_t menuRow);
// Rows of the sub-menu page a main-menu row opens: the functions the table offers there (6,
// 10 and 8), and on the user macro page one per macro in use. 0 for any other row.
int32_t SubMenuRowCount(int32_t menuRow, int32_t macroCount);
// Top of that sub-menu relative to the main menu's top: its last row lines up with the row
// that opened it.
int32_t SubMenuTop(int32_t menuRow, int32_t macroCount, int32_t rowHeight);

// The FunctionCode a release on a main-menu row stores: rows 1..6 only.
std::optional<int32_t> MainMenuChoice(int32_t menuRow);
// The FunctionCode a release on a row of menuRow's sub-menu stores; nothing off its rows (the
// pixel line below the last row, or no row at all).
std::optional<int32_t> SubMenuChoice(int32_t menuRow, int32_t subMenuRow, int32_t macroCount);

}  // namespace orv
