#include "ui/skinnedmenus/CMenuDlg.h"

#include "ui/ComposeFrame.h"
#include "ui/DrawingGeometry.h"

namespace orv {

namespace {

constexpr SkinnedMenuPictures kMainMenuPictures{"menu_normal.jpg", "menu_over.jpg", "menu_down.jpg", "menu_mask.jpg"};

}  // namespace

CMenuDlg::CMenuDlg(const FunctionMenuContext& context, ChoiceHandler onChoice, QWidget* parent)
    : SkinnedMenuWindow(context, kMainMenuPictures, parent), onChoice_(std::move(onChoice)) {
    // Other windows find the open function menu by this title.
    setWindowTitle(QStringLiteral("MainMenuDlg"));
    const QSize mask = MaskSize();
    if (mask.isEmpty())
        return;
    const MenuGeometry geometry = MainMenuGeometry(mask.width(), mask.height());
    width_ = geometry.width;
    QStringList texts;
    for (int32_t row = 1; row <= kMainMenuRows; ++row)
        texts << ButtonFunctionText(context.model, row);
    SetRows(geometry, kMainMenuHitRows, texts);
}

void CMenuDlg::CloseSubMenu() {
    if (CSubMenuDlg* sub = subMenu_.data()) {
        subMenu_.clear();
        sub->hide();
        // It may be the window whose release is being handled.
        sub->deleteLater();
    }
}

void CMenuDlg::HoverChanged() {
    CloseSubMenu();
    if (OpensSubMenu(Hover()))
        OpenSubMenu();
}

void CMenuDlg::Released(int32_t row) {
    if (const auto code = MainMenuChoice(row); code && onChoice_)
        onChoice_(*code, false);
}

void CMenuDlg::hideEvent(QHideEvent*) { CloseSubMenu(); }

// A page without rows (no user macros yet) opens nothing: there is nothing to choose.
void CMenuDlg::OpenSubMenu() {
    auto* sub = new CSubMenuDlg(
        Context(), Hover(),
        [this](int32_t code) {
            if (onChoice_)
                onChoice_(code, true);
        },
        this);
    if (sub->Rows() == 0) {
        delete sub;
        return;
    }
    const int32_t top = SubMenuTop(Hover(), Context().MacroCount(), RowHeight());
    const QRect menu(geometry().topLeft(), QSize(width_, height()));
    sub->move(PopupBeside(menu, menu.y() + top, sub->size(), ScreenAreaFor(menu, *this)));
    subMenu_ = sub;
    sub->show();
}

}  // namespace orv
