#pragma once
#include <memory>

namespace orv {

class Trace;

// The system's pointer speed (the Windows 1..20 scale) and wheel scroll lines. Each query
// returns false when the system cannot answer; callers then skip the matching change.
class PointerSettings {
public:
    virtual ~PointerSettings() = default;
    virtual bool QueryPointerSpeed(int& speed) = 0;
    virtual bool SetPointerSpeed(int speed) = 0;
    virtual bool QueryWheelLines(int& lines) = 0;
    virtual bool SetWheelLines(int lines) = 0;
};

// The settings of the desktop the program runs on (Windows: SystemParametersInfoW; Linux:
// GNOME's mouse speed where its schema exists, otherwise nothing is changed).
std::unique_ptr<PointerSettings> CreateSystemPointerSettings();

// For --simulate: changes nothing, every query succeeds, and each value set is reported to the
// trace as "pointer-speed N" or "wheel-lines N".
std::unique_ptr<PointerSettings> CreateTracingPointerSettings(Trace& trace);

}  // namespace orv
