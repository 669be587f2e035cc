#pragma once
#include <array>
#include <cstdint>

#include <QPoint>

#include "common/Relaxed.h"
#include "skin/Regions.h"

namespace orv {

enum : uint8_t { kMainPage = 0, kAdvancedPage = 1, kColorPage = 2 };

// The region tables the mouse is hit-tested against, numbered as the page whose own each is.
enum RegionTable : uint8_t { kMainTable = kMainPage, kAdvancedTable = kAdvancedPage, kColorTable = kColorPage };
inline constexpr size_t kRegionTables = 3;

// Which page is shown, what is under the mouse and what is pressed. Changed only by the mouse
// handlers on the window's thread; the lighting preview thread reads CurrentPage.
struct PageState {
    Relaxed<uint8_t> CurrentPage{kMainPage};
    // Per table (MainHover, AdvancedHover, ColorHover): the region under the mouse, and the one
    // for which the last repaint was asked.
    struct Hover {
        int32_t index = region::kNone;
        int32_t repainted = region::kNone;
    };
    std::array<Hover, kRegionTables> hover{};
    int32_t& HoverIn(RegionTable table) { return hover[table].index; }
    int32_t HoverIn(RegionTable table) const { return hover[table].index; }

    // The left button went down over a region and has not come up inside the window.
    bool ButtonHeld = false;

    // A function menu opened from a button box is open.
    bool MenuOpen = false;
    // The button box (region::main::ButtonBox) whose function the open menu sets.
    int32_t MenuButton = 0;
    // Screen point below the clicked box, where the function menu and the left-button warning
    // open when the screen has room for them there.
    QPoint MenuAnchor;
    // Set by the second-level function menu; the next paint closes the open menu.
    Relaxed<bool> CloseMenuRequest{false};
};

}  // namespace orv
