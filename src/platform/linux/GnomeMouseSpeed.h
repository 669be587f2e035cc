#pragma once

namespace orv {

// The Windows pointer speed 1..20, with 10 as the neutral speed, against GNOME's mouse speed
// -1..1 with 0 neutral. Each half is linear so that both ends and the middle meet.
double GnomeMouseSpeed(int windowsSpeed);
int WindowsSpeedFromGnome(double gnomeSpeed);

}  // namespace orv
