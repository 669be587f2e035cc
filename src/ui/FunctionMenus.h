#pragma once
#include <QPointer>
#include <QRect>

#include "ui/skinnedmenus/CMenuDlg.h"
#include "ui/FunctionMenuContext.h"
#include "ui/WindowFeature.h"

namespace orv {

// The function menus of the main page's six button boxes and the left-button warning that may
// come first. A click on a box opens its menu below the box (above it where the screen has no
// room below, and always on the screen that holds the box), after the warning when this button
// may be the last one with the left click. A chosen function goes into the working settings
// only (with the left-click rule); the window repaints at once so that the box shows it, and
// the mouse hears of it at the next apply. Any click on the main page closes the open menu
// first, and the menu goes when the window is put away.
class FunctionMenus : public WindowFeature {
public:
    explicit FunctionMenus(const FeatureContext& context);
    ~FunctionMenus() override;
    FunctionMenus(const FunctionMenus&) = delete;
    FunctionMenus& operator=(const FunctionMenus&) = delete;

    // Opens the menu of button 0..5 at its box (screen coordinates). False when no menu opened.
    bool OpenFunctionMenu(int button, QRect box);
    // Closes the open menu and its sub-menu; harmless when none is open.
    void CloseFunctionMenu();
    // Runs the left-button warning modally at the box: kWarningConfirmed or kWarningCancelled.
    int ShowLeftButtonWarning(QRect box);

private:
    void ClickBox(int button);
    void Choose(int32_t code, bool inSubMenu);

    FeatureContext context_;
    FunctionMenuContext menuContext_;
    QPointer<CMenuDlg> menu_;
    int button_ = 0;
    // Set by a choice in the sub-menu; the window's next paint closes the menu.
    bool closeRequested_ = false;
};

}  // namespace orv
