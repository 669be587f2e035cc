#pragma once
#include <QObject>
#include <functional>
#include <memory>

class QWidget;

namespace orv {

// Calls onPowerEvent on the window's thread for every suspend, resume and power-status change
// the system announces. Where the system cannot announce them, nothing is ever called.
std::unique_ptr<QObject> WatchPowerEvents(QWidget& window, std::function<void()> onPowerEvent);

}  // namespace orv
