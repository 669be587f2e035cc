#pragma once
#include "common/Language.h"

class QMenu;
class QWidget;

namespace orv {

// The event list's context menu in the language, owned by parent: "Add Forward" and "Add
// Backward" with their button and direction sub-menus, then "Modify Delay" and "Delete". Each
// command is an action whose data() holds its command id in that language.
QMenu* BuildEventMenu(Language language, QWidget* parent);

}  // namespace orv
