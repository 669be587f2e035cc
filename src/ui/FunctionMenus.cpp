#include "ui/FunctionMenus.h"

#include <QWidget>

#include "settings/ProfileEdits.h"
#include "ui/DrawingGeometry.h"
#include "ui/WarningDlg.h"

namespace orv {

FunctionMenus::FunctionMenus(PageModel& model, PageState& state, const SkinFonts& fonts, WindowHost& host,
                             QWidget& window)
    : state_(state), host_(host), window_(window), context_{model, fonts, pictures_} {}

FunctionMenus::~FunctionMenus() {
    // The menu reads this object's pictures; it must not outlive them.
    delete menu_.data();
}

bool FunctionMenus::OpenFunctionMenu(int button, QRect box) {
    CloseFunctionMenu();
    auto* menu = new CMenuDlg(
        context_, [this](int32_t code, bool inSubMenu) { Choose(code, inSubMenu); }, &window_);
    if (!menu->HasRows()) {
        delete menu;
        return false;
    }
    button_ = button;
    menu->move(PopupBelowOrAbove(box, menu->size(), ScreenAreaFor(box, window_)));
    menu_ = menu;
    menu->show();
    return true;
}

void FunctionMenus::CloseFunctionMenu() {
    state_.MenuOpen = false;
    if (CMenuDlg* menu = menu_.data()) {
        menu_.clear();
        menu->hide();
        // A choice closes the menu from inside its own mouse handler.
        menu->deleteLater();
    }
}

void FunctionMenus::ReleasePictures() {
    // A closed menu is hidden and paints no more before it is deleted, so it reads none of them.
    CloseFunctionMenu();
    pictures_.Clear();
}

// Without its pictures the warning could not be seen, and a modal popup that cannot be seen
// would freeze the window; the function menu then opens as if confirmed, and the left-click rule
// still keeps some button clicking.
int FunctionMenus::ShowLeftButtonWarning(QRect box) {
    WarningDlg warning(context_, box, &window_);
    if (!warning.IsShaped())
        return kWarningConfirmed;
    return warning.exec() == kWarningCancelled ? kWarningCancelled : kWarningConfirmed;
}

// A choice in the sub-menu leaves the closing to the main window's next paint, which the repaint
// below brings at once; the menus are hidden already, so nothing lingers until then.
void FunctionMenus::Choose(int32_t code, bool inSubMenu) {
    AssignButtonFunction(context_.model.settings, button_, code);
    if (inSubMenu) {
        state_.CloseMenuRequest = true;
        if (CMenuDlg* menu = menu_.data())
            menu->hide();
    } else {
        CloseFunctionMenu();
    }
    host_.Repaint();
}

}  // namespace orv
