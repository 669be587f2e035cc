#pragma once
#include "common/Texts.h"

namespace orv {

// What the user does on this system when the mouse is plugged in but cannot be opened: on
// Linux, the udev rule and the two commands that install it; on Windows, freeing the mouse
// from the program that holds it.
TextId DeviceAccessFix();

}  // namespace orv
