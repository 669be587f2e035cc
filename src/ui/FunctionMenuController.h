#pragma once
#include <QRect>

namespace orv {

// What ShowLeftButtonWarning gives: the user confirmed (Return or the confirming button), or
// cancelled (Escape or the cancelling button).
inline constexpr int kWarningConfirmed = 1;
inline constexpr int kWarningCancelled = 2;

// The function menus of the six button boxes and the left-button warning that may come first.
// The pages decide when each opens and for which box (in screen coordinates); each opens below
// the box, or above it where the screen has no room below, and stays on the screen that holds
// the box. PageState::MenuButton holds the box being assigned.
class FunctionMenuController {
public:
    virtual ~FunctionMenuController() = default;

    // Opens the menu of button 0..5 at its box. False when no menu opened.
    virtual bool OpenFunctionMenu(int button, QRect box) = 0;
    // Closes the open menu and its sub-menu; harmless when none is open.
    virtual void CloseFunctionMenu() = 0;
    // Runs the left-button warning modally at the box: kWarningConfirmed or kWarningCancelled.
    virtual int ShowLeftButtonWarning(QRect box) = 0;
};

}  // namespace orv
