#include "app/ProgramIcon.h"

namespace orv {

// The skin generator's drawing at each size it was drawn for, built into the program so the
// window and the notification area have it whatever the skin folder holds.
// A dense screen asks for twice the pixels: 32, 48, 64, 128 and 256 are drawings of their own;
// 44, 96 and 512 are the 22, 48 and 256 pixel drawings at twice the pixels.
QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/orv-gmouse-%1.png").arg(size), QSize(size, size));
    }
    for (int pixels : {44, 96, 512}) {
        icon.addFile(QStringLiteral(":/icons/orv-gmouse-%1.png").arg(pixels), QSize(pixels, pixels));
    }
    return icon;
}

}  // namespace orv
