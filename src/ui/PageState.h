#pragma once
#include <cstdint>

#include <QPoint>

#include "common/Relaxed.h"
#include "skin/Regions.h"

namespace orv {

enum : uint8_t { kMainPage = 0, kAdvancedPage = 1, kColorPage = 2 };

// Which page is shown, what is under the mouse and what is pressed. Changed only by the mouse
// handlers on the window's thread; the lighting preview thread reads CurrentPage.
struct PageState {
    Relaxed<uint8_t> CurrentPage{kMainPage};
    int32_t MainHover = region::kNone;
    int32_t AdvancedHover = region::kNone;
    int32_t ColorHover = region::kNone;
    // The hover values for which the last repaint was asked.
    int32_t PreviousMainHover = region::kNone;
    int32_t PreviousAdvancedHover = region::kNone;
    int32_t PreviousColorHover = region::kNone;
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
