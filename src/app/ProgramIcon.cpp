#include "app/ProgramIcon.h"

namespace orv {

// The skin generator's drawing at each size it was drawn for, built into the program so the
// window and the notification area have it whatever the skin folder holds.
// A dense screen asks for twice the pixels: 32, 48, 64, 128 and 256 are drawings of their own,
// and the notification area's 44 is its 22 pixel drawing at twice the pixels.
QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 44, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/orv-gmouse-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace orv
