#pragma once
#include <QPointer>

#include "ui/CMenuDlg.h"
#include "ui/FunctionMenuContext.h"
#include "ui/FunctionMenuController.h"
#include "ui/PageState.h"
#include "ui/PictureCache.h"
#include "ui/WindowHost.h"

class QWidget;

namespace orv {

// The function menus of the button boxes and the left-button warning, as the main page uses
// them. A chosen function goes into the working settings only (with the left-click rule); the
// window repaints at once so that the box shows it, and the mouse hears of it at the next apply.
class FunctionMenus : public FunctionMenuController {
public:
    // window: the main window, which owns the menus and the warning.
    FunctionMenus(PageModel& model, PageState& state, const SkinFonts& fonts, WindowHost& host, QWidget& window);
    ~FunctionMenus() override;
    FunctionMenus(const FunctionMenus&) = delete;
    FunctionMenus& operator=(const FunctionMenus&) = delete;

    bool OpenFunctionMenu(int button, QRect box) override;
    void CloseFunctionMenu() override;
    int ShowLeftButtonWarning(QRect box) override;

    // The open menu, or null.
    CMenuDlg* OpenMenu() const { return menu_.data(); }

    // The menus' and the warning's pictures, decoded again when one of them is next shown;
    // only while none is (the window is hidden).
    void ReleasePictures();
    size_t PicturesHeld() const { return pictures_.Held(); }

private:
    void Choose(int32_t code, bool inSubMenu);

    PageState& state_;
    WindowHost& host_;
    QWidget& window_;
    PictureCache pictures_;
    FunctionMenuContext context_;
    QPointer<CMenuDlg> menu_;
    int button_ = 0;
};

}  // namespace orv
