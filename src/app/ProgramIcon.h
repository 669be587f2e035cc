#pragma once
#include <QIcon>

namespace orv {

QIcon ProgramIcon();

}  // namespace orv
