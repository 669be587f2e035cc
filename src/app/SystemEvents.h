#pragma once
#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "device/DeviceLink.h"

class QWidget;

namespace orv {

// What the system tells the main window besides input: each handler runs on the window's
// thread.
struct SystemEventHandlers {
    // Every suspend, resume and power-status change.
    std::function<void()> powerEvent;
    // HID interface arrivals and removals, where the system tells windows rather than threads.
    std::function<void(DeviceChange, std::string_view interfacePath)> deviceChange;
    // The user's session ends (logoff, shutdown) where the system tells windows; the process
    // ends as soon as the handler returns, so it ends the utility before it does.
    std::function<void()> sessionEnding;
};

// An entry of the window's system menu: its caption in the language in use, and what it does.
struct SystemMenuAction {
    std::string caption;
    std::function<void()> act;
};

class SystemEvents : public QObject {
public:
    // Puts the entries, then About below a separator, into the system's own window menu, where
    // windows have one. False otherwise: the window then offers its own small menu.
    virtual bool AddToNativeMenu(std::vector<SystemMenuAction> entries, SystemMenuAction about) = 0;

    // A message of the window's own (QWidget::nativeEvent). The system menu's commands come so:
    // the system sends them to the window, and Qt shows sent commands to no application-wide
    // filter. True when it was acted on.
    virtual bool WindowMessage(const QByteArray& eventType, void* message, qintptr* result) = 0;
};

std::unique_ptr<SystemEvents> WatchSystemEvents(QWidget& window, SystemEventHandlers handlers);

// Whether a single click on the notification icon brings the window back. Linux panels that
// speak StatusNotifierItem pass a click on only as a single click; Windows acts on the double
// click, so that merely selecting the icon does not open the window.
bool SingleClickShowsWindow();

}  // namespace orv
