#include "ui/ownerdrawnmenus/COrvMenu.h"

#include <QAction>

#include "ui/ownerdrawnmenus/OrvMenuStyle.h"

namespace orv {

namespace {

constexpr int kSubMenuItemId = -1;
constexpr int kSeparatorItemId = 0;

}  // namespace

COrvMenu::COrvMenu(const QFont& font, QWidget* parent) : QMenu(parent) {
    // A widget does not own the style it is given; as a child the style lives as long as the menu.
    auto* style = new OrvMenuStyle();
    style->setParent(this);
    setStyle(style);
    setFont(font);
}

QAction* COrvMenu::AddItem(const QString& caption, int itemId) {
    QAction* action = addAction(caption);
    action->setData(itemId);
    return action;
}

QAction* COrvMenu::AddEntry(const QString& caption, std::function<void()> act) {
    QAction* action = AddItem(caption, kSeparatorItemId);
    connect(action, &QAction::triggered, this, std::move(act));
    return action;
}

COrvMenu* COrvMenu::AddSubMenu(const QString& caption) {
    auto* sub = new COrvMenu(font(), this);
    sub->setTitle(caption);
    QAction* action = addMenu(sub);
    action->setData(kSubMenuItemId);
    return sub;
}

QAction* COrvMenu::AddSeparator() {
    QAction* action = addSeparator();
    action->setData(kSeparatorItemId);
    return action;
}

void COrvMenu::Reset(const QFont& font) {
    clear();
    for (COrvMenu* sub : findChildren<COrvMenu*>(Qt::FindDirectChildrenOnly))
        sub->deleteLater();
    setFont(font);
}

int COrvMenu::ItemId(const QAction& action) {
    if (action.isSeparator())
        return kSeparatorItemId;
    if (action.menu() != nullptr)
        return kSubMenuItemId;
    return action.data().toInt();
}

}  // namespace orv
