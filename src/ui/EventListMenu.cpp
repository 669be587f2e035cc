#include "ui/EventListMenu.h"

#include <QAction>
#include <QMenu>

#include "macro/EventMenu.h"
#include "ui/UiText.h"

namespace orv {

namespace {

void AddItems(QMenu& menu, std::span<const EventMenuItem> items, Language language)
{
    for (const EventMenuItem& item : items) {
        const QString caption = UiText(item.caption, language);
        if (item.OpensSubMenu()) {
            AddItems(*menu.addMenu(caption), item.subMenu, language);
            continue;
        }
        menu.addAction(caption)->setData(QVariant::fromValue<uint>(item.CommandId(language)));
    }
}

}  // namespace

QMenu* BuildEventMenu(Language language, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    AddItems(*menu, EventMenuItems(), language);
    return menu;
}

}  // namespace orv
