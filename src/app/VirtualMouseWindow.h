#pragma once
#include <QWidget>

namespace orv {

class Session;

// Simulated mode only: stands in for the mouse's programmable buttons so macros and the DPI
// following can be tried without the hardware.
class VirtualMouseWindow : public QWidget {
    Q_OBJECT
public:
    explicit VirtualMouseWindow(Session& session, QWidget* parent = nullptr);
};

}  // namespace orv
