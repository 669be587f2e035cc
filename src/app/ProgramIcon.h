#pragma once
#include <QIcon>

namespace orv {

// The program's icon: window, notification area, About box.
QIcon ProgramIcon();

}  // namespace orv
