#include "platform/PointerSettings.h"

#include <windows.h>

namespace orv {

namespace {

class SystemPointerSettings : public PointerSettings {
public:
    bool QueryPointerSpeed(int& speed) override {
        int value = 20;
        if (!SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &value, 0)) {
            return false;
        }
        speed = value;
        return true;
    }

    // SPI_SETMOUSESPEED takes the speed itself in the pointer argument, not its address.
    bool SetPointerSpeed(int speed) override {
        return SystemParametersInfoW(SPI_SETMOUSESPEED, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(speed)),
                                     SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) != FALSE;
    }

    bool QueryWheelLines(int& lines) override {
        UINT value = 0;
        if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &value, 0)) {
            return false;
        }
        lines = static_cast<int>(value);
        return true;
    }

    // The wheel lines are saved to the profile but not broadcast: only the speed change is sent.
    bool SetWheelLines(int lines) override {
        return SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, static_cast<UINT>(lines), nullptr, SPIF_UPDATEINIFILE) !=
               FALSE;
    }
};

}  // namespace

std::unique_ptr<PointerSettings> CreateSystemPointerSettings() { return std::make_unique<SystemPointerSettings>(); }

}  // namespace orv
