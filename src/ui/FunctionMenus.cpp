#include "ui/FunctionMenus.h"

#include <QWidget>

#include "settings/ProfileEdits.h"
#include "skin/Regions.h"
#include "skin/SkinLayout.h"
#include "ui/DrawingGeometry.h"
#include "ui/MainWindowPages.h"
#include "ui/WarningDlg.h"
#include "ui/WindowEvents.h"
#include "ui/WindowHost.h"

namespace orv {

FunctionMenus::FunctionMenus(const FeatureContext& context)
    : context_(context), menuContext_{context.pages.Model(), context.pages.Fonts(), context.pages.Pictures()} {
    using namespace region::main;
    MainWindowPages& pages = context_.pages;
    pages.BeforePress(kMainPage, [this] { CloseFunctionMenu(); });
    pages.AddPressRow(kMainPage, kMainTable, kFirstButtonBox, kLastButtonBox,
                      [this](RegionHit hit) { ClickBox(hit.offset); });
    pages.BeforePaint([this] {
        if (closeRequested_) {
            closeRequested_ = false;
            CloseFunctionMenu();
        }
    });
    // The function menu belongs to the window on screen; it must not stay behind when the
    // window goes.
    context_.events.OnPutAway([this] { CloseFunctionMenu(); });
}

FunctionMenus::~FunctionMenus() {
    // The menu reads the window's pictures; it must not outlive them.
    delete menu_.data();
}

bool FunctionMenus::OpenFunctionMenu(int button, QRect box) {
    CloseFunctionMenu();
    auto* menu = new CMenuDlg(
        menuContext_, [this](int32_t code, bool inSubMenu) { Choose(code, inSubMenu); }, &context_.window);
    if (!menu->HasRows()) {
        delete menu;
        return false;
    }
    button_ = button;
    menu->move(PopupBelowOrAbove(box, menu->size(), ScreenAreaFor(box, context_.window)));
    menu_ = menu;
    menu->show();
    return true;
}

void FunctionMenus::CloseFunctionMenu() {
    if (CMenuDlg* menu = menu_.data()) {
        menu_.clear();
        menu->hide();
        // A choice closes the menu from inside its own mouse handler.
        menu->deleteLater();
    }
}

// Without its pictures the warning could not be seen, and a modal popup that cannot be seen
// would freeze the window; the function menu then opens as if confirmed, and the left-click rule
// still keeps some button clicking.
int FunctionMenus::ShowLeftButtonWarning(QRect box) {
    WarningDlg warning(menuContext_, box, &context_.window);
    if (!warning.IsShaped())
        return kWarningConfirmed;
    return warning.exec() == kWarningCancelled ? kWarningCancelled : kWarningConfirmed;
}

void FunctionMenus::ClickBox(int button) {
    const SkinRegion& r = context_.skin.MainRegions[static_cast<size_t>(region::main::ButtonBox(button))];
    const QRect onScreen(context_.host.WindowTopLeft() + QPoint(r.x, r.y), QSize(r.width, r.height));
    if (NeedsLeftButtonWarning(context_.pages.Model().settings, button) &&
        ShowLeftButtonWarning(onScreen) == kWarningCancelled)
        return;
    OpenFunctionMenu(button, onScreen);
}

// A choice in the sub-menu leaves the closing to the main window's next paint, which the repaint
// below brings at once; the menus are hidden already, so nothing lingers until then.
void FunctionMenus::Choose(int32_t code, bool inSubMenu) {
    AssignButtonFunction(context_.pages.Model().settings, button_, code);
    if (inSubMenu) {
        closeRequested_ = true;
        if (CMenuDlg* menu = menu_.data())
            menu->hide();
    } else {
        CloseFunctionMenu();
    }
    context_.host.Repaint();
}

}  // namespace orv
