#pragma once
#include <optional>

#include "common/Language.h"
#include "ui/COrvMenu.h"

class QWidget;

namespace orv {

// The event list's context menu in the language: "Add Forward" and "Add Backward", each with the
// three buttons and their press and release, then "Modify Delay" and "Delete". Every command's
// item id is its command id in that language (EventCommandForId understands both languages'
// ids). Owned by parent when one is given.
COrvMenu* CreateEventMenu(Language language, QWidget* parent);

// What the tray menu's items do, whichever language's ids they carry.
enum class TrayCommand { ShowWindow, ProgramProfiles, ExitDriver };

// Fills the tray menu with "Show Window", "Program profiles…" and "Exit Driver" in the language
// (ids 32801, 32850 and 32800 in English, 32837, 32851 and 32838 in Chinese), replacing what it
// held.
void LoadTrayMenu(COrvMenu& menu, Language language);
std::optional<TrayCommand> TrayCommandForId(int itemId);

}  // namespace orv
