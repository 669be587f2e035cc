#include "app/ProgramIcon.h"

namespace orv {

// The skin generator's drawing at each size it was drawn for, built into the program so the
// window and the notification area have it whatever the skin folder holds.
QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/orv-gmouse-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace orv
