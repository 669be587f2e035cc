#pragma once
#include <array>
#include <cstdint>

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
};

}  // namespace orv
