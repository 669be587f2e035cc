#include "ui/ownerdrawnmenus/OwnerDrawnMenus.h"

#include <span>

#include "macro/EventMenu.h"
#include "ui/SkinFonts.h"
#include "ui/UiText.h"

namespace orv {

namespace {

struct TrayItem {
    TextId caption;
    int englishId;
    int chineseId;
    TrayCommand command;
};

constexpr TrayItem kTrayItems[] = {
    {TextId::ShowWindow, 32801, 32837, TrayCommand::ShowWindow},
    {TextId::ExitDriver, 32800, 32838, TrayCommand::ExitDriver},
};

// Both menus use the skin's font, whose width the eight pixels per character were made for.
QFont MenuFont(Language language) { return CreateSkinFonts().ForLanguage(language); }

void AddEventItems(COrvMenu& menu, std::span<const EventMenuItem> items, Language language) {
    for (const EventMenuItem& item : items) {
        if (item.OpensSubMenu())
            AddEventItems(*menu.AddSubMenu(UiText(item.caption, language)), item.subMenu, language);
        else
            menu.AddItem(UiText(item.caption, language), item.CommandId(language));
    }
}

}  // namespace

COrvMenu* CreateEventMenu(Language language, QWidget* parent) {
    auto* menu = new COrvMenu(MenuFont(language), parent);
    AddEventItems(*menu, EventMenuItems(), language);
    return menu;
}

void LoadTrayMenu(COrvMenu& menu, Language language, std::span<const MenuEntry> entries) {
    menu.Reset(MenuFont(language));
    for (const TrayItem& item : kTrayItems) {
        if (item.command == TrayCommand::ExitDriver) {
            for (const MenuEntry& entry : entries)
                menu.AddEntry(UiText(entry.caption, language), entry.act);
        }
        menu.AddItem(UiText(item.caption, language), language.IsEnglish() ? item.englishId : item.chineseId);
    }
}

std::optional<TrayCommand> TrayCommandForId(int itemId) {
    for (const TrayItem& item : kTrayItems) {
        if (itemId == item.englishId || itemId == item.chineseId)
            return item.command;
    }
    return std::nullopt;
}

}  // namespace orv
