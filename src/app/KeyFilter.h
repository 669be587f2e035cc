#pragma once
#include <QObject>
#include <functional>
#include <memory>

class QWidget;

namespace orv {

// Sees every key event of the window and its child controls before they do: Escape and
// Return never reach a control that could close or submit something, F10 is swallowed so it
// never activates a menu bar, and Alt+Space opens the window's own system menu when one is
// given (empty where the system has a menu of its own).
std::unique_ptr<QObject> InstallKeyFilter(QWidget& window, std::function<void()> openSystemMenu);

// Whether the filter consumes this key event (type is QEvent::Type, key is Qt::Key).
bool KeyFilterConsumes(int type, int key);

}  // namespace orv
