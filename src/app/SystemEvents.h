#pragma once
#include <QObject>
#include <functional>
#include <memory>
#include <string_view>

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
    // The About entry of the window's system menu was chosen.
    std::function<void()> about;
    // The user's session ends (logoff, shutdown) where the system tells windows; the process
    // ends as soon as the handler returns, so it ends the utility before it does.
    std::function<void()> sessionEnding;
};

class SystemEvents : public QObject {
public:
    // True when the About entry went into the system's own window menu; otherwise the window
    // offers its own small menu.
    virtual bool HasNativeAboutEntry() const = 0;
};

std::unique_ptr<SystemEvents> WatchSystemEvents(QWidget& window, SystemEventHandlers handlers);

// Whether a single click on the notification icon brings the window back. Linux panels that
// speak StatusNotifierItem pass a click on only as a single click; Windows acts on the double
// click, so that merely selecting the icon does not open the window.
bool SingleClickShowsWindow();

}  // namespace orv
