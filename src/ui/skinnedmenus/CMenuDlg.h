#pragma once
#include <cstdint>
#include <functional>

#include <QPointer>

#include "ui/skinnedmenus/CSubMenuDlg.h"
#include "ui/skinnedmenus/SkinnedMenuWindow.h"

namespace orv {

// The function menu of a button box: ten rows drawn from the menu pictures. Rows 1..6 choose
// their function on release; resting on rows 7..10 opens that row's sub-menu beside the menu,
// its last row level with the row that opened it, unless the screen's edge moves it (to the left
// of the menu where there is no room on the right, up or down to stay on the screen). Moving to
// another row replaces or closes the sub-menu; while the mouse is over the sub-menu the row
// that opened it stays lit.
class CMenuDlg : public SkinnedMenuWindow {
public:
    // A function was chosen: in this menu's own rows, or in its sub-menu.
    using ChoiceHandler = std::function<void(int32_t code, bool inSubMenu)>;

    CMenuDlg(const FunctionMenuContext& context, ChoiceHandler onChoice, QWidget* parent);

    // False when the mask cannot be read: the menu has no rows then.
    bool HasRows() const { return RowHeight() > 0; }
    // The open sub-menu, or null.
    CSubMenuDlg* SubMenu() const { return subMenu_.data(); }
    void CloseSubMenu();

protected:
    void HoverChanged() override;
    void Released(int32_t row) override;
    void hideEvent(QHideEvent* event) override;

private:
    void OpenSubMenu();

    ChoiceHandler onChoice_;
    int32_t width_ = 0;
    QPointer<CSubMenuDlg> subMenu_;
};

}  // namespace orv
