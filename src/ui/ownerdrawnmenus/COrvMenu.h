#pragma once
#include <QFont>
#include <QMenu>
#include <QString>
#include <functional>

namespace orv {

// A pop-up menu drawn in the program's colours (OrvMenuStyle), with the skin's font. Every item
// keeps its caption and an id: a command's id, -1 for an item that opens a sub-menu, 0 for a
// separator or an entry that acts by itself. Sub-menus are COrvMenus too, so they look the same.
class COrvMenu : public QMenu {
public:
    explicit COrvMenu(const QFont& font, QWidget* parent = nullptr);

    // A command; the id travels as the action's data.
    QAction* AddItem(const QString& caption, int itemId);
    // An item without a command id that runs act when chosen.
    QAction* AddEntry(const QString& caption, std::function<void()> act);
    COrvMenu* AddSubMenu(const QString& caption);
    QAction* AddSeparator();
    // Removes every item and uses the font from now on.
    void Reset(const QFont& font);

    static int ItemId(const QAction& action);
};

}  // namespace orv
