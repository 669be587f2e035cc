#pragma once
#include <optional>
#include <span>

#include "common/Language.h"
#include "ui/ownerdrawnmenus/COrvMenu.h"
#include "ui/WindowEvents.h"

class QWidget;

namespace orv {

// The event list's context menu in the language: "Add Forward" and "Add Backward", each with the
// three buttons and their press and release, then "Modify Delay" and "Delete". Every command's
// item id is its command id in that language (EventCommandForId understands both languages'
// ids). Owned by parent when one is given.
COrvMenu* CreateEventMenu(Language language, QWidget* parent);

// What the tray menu's items do, whichever language's ids they carry.
enum class TrayCommand { ShowWindow, ExitDriver };

// Fills the tray menu with "Show Window" and "Exit Driver" in the language (ids 32801 and 32800
// in English, 32837 and 32838 in Chinese), and the features' entries between them, replacing
// what it held.
void LoadTrayMenu(COrvMenu& menu, Language language, std::span<const MenuEntry> entries = {});
std::optional<TrayCommand> TrayCommandForId(int itemId);

}  // namespace orv
