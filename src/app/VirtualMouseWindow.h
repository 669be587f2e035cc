#pragma once
#include <QWidget>

namespace orv {

class CoreServices;

// Simulated mode only: stands in for the mouse's programmable buttons so macros and the DPI
// following can be tried without the hardware.
class VirtualMouseWindow : public QWidget {
    Q_OBJECT
public:
    explicit VirtualMouseWindow(CoreServices& core, QWidget* parent = nullptr);
};

}  // namespace orv
