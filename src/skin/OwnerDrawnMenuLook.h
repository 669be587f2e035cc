#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

namespace orv {

// How the program's pop-up menus (the event list's context menu and the tray menu) measure and
// colour their items, whatever draws them.

struct MenuRgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    friend constexpr bool operator==(MenuRgb, MenuRgb) = default;
};

// An item's bar, with white text.
inline constexpr MenuRgb kMenuItemColour{0, 120, 153};
inline constexpr MenuRgb kMenuTextColour{255, 255, 255};
// The highlighted item: a one-pixel frame around a vertical gradient from blue to cyan.
inline constexpr MenuRgb kMenuHighlightTop{0, 0, 255};
inline constexpr MenuRgb kMenuHighlightBottom{0, 255, 255};
// A separator's frame: top and left edges red, bottom and right edges blue.
inline constexpr MenuRgb kMenuSeparatorTopLeft{255, 0, 0};
inline constexpr MenuRgb kMenuSeparatorBottomRight{0, 0, 255};
// Where an item's text starts, and where a separator's frame starts, from the item's left edge.
inline constexpr int32_t kMenuTextIndent = 10;
inline constexpr int32_t kMenuSeparatorIndent = 25;

struct MenuItemSize {
    int32_t width = 0;
    int32_t height = 0;

    friend constexpr bool operator==(MenuItemSize, MenuItemSize) = default;
};

// Eight pixels per character of the caption (UTF-8; a character is a UTF-16 unit, so blanks
// after a caption widen it too) and 20 pixels high; a separator is 1 pixel high.
MenuItemSize MeasureMenuItem(std::string_view caption, bool separator);

// The colour of each line of a highlighted item's gradient, top to bottom, for a gradient
// `height` lines high: every channel moves by the same whole step per line, (end - start) /
// height truncated, so the last line stops short of cyan.
std::vector<MenuRgb> MenuHighlightGradient(int32_t height);

}  // namespace orv
