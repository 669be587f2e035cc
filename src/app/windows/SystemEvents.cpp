#include "app/SystemEvents.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QWidget>
#include <utility>
#include <vector>

#include "common/Texts.h"
#include "device/HidNotifications.h"
#include "platform/NativeWindow.h"
#include "platform/WindowMessages.h"

namespace orv {

namespace {

// The messages only a window procedure sees: power broadcasts, device changes of the HID
// interfaces the window registered for, the end of the session, and the system menu's About
// entry.
class WindowMessageEvents : public SystemEvents, public QAbstractNativeEventFilter {
public:
    WindowMessageEvents(QWidget& window, SystemEventHandlers handlers)
        : window_(static_cast<uintptr_t>(window.winId())), handlers_(std::move(handlers)) {
        RegisterHidNotifications(window_);
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    ~WindowMessageEvents() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool AddToNativeMenu(std::vector<SystemMenuAction> entries, SystemMenuAction about) override {
        uintptr_t command = kFirstEntryCommand;
        bool first = true;
        for (SystemMenuAction& entry : entries) {
            if (command >= kSystemCommands || !Append(command, std::move(entry), first)) {
                return false;
            }
            first = false;
            command += kCommandStep;
        }
        return Append(kAboutCommand, std::move(about), true);
    }

    bool WindowMessage(const QByteArray& eventType, void* message, qintptr* result) override {
        NativeMessage msg;
        if (!ReadNativeMessage(eventType.toStdString(), message, msg) || msg.window != window_ ||
            msg.message != kWmSysCommand || !ActOnCommand(msg.wParam & 0xFFF0)) {
            return false;
        }
        *result = 0;
        return true;
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override {
        NativeMessage msg;
        // Broadcasts reach every top-level window of the process; only the main window acts.
        if (!ReadNativeMessage(eventType.toStdString(), message, msg) || msg.window != window_) {
            return false;
        }
        const WindowEvent event = DecodeWindowMessage(msg.message, msg.wParam, msg.lParam);
        switch (event.kind) {
        case WindowEventKind::Power:
            if (handlers_.powerEvent) {
                handlers_.powerEvent();
            }
            return false;  // the default handling still runs
        case WindowEventKind::DeviceArrival:
        case WindowEventKind::DeviceRemoval:
            if (event.deviceInterface && handlers_.deviceChange) {
                handlers_.deviceChange(
                    event.kind == WindowEventKind::DeviceArrival ? DeviceChange::Arrival : DeviceChange::Removal,
                    event.interfaceName);
            }
            *result = 1;  // TRUE: the device event was handled
            return true;
        case WindowEventKind::SessionEnding:
            if (handlers_.sessionEnding) {
                // Ending the utility destroys this watcher: nothing of it is touched afterwards.
                const std::function<void()> ending = handlers_.sessionEnding;
                ending();
            }
            return false;  // Qt answers it as well
        case WindowEventKind::Other:
            break;
        }
        return false;
    }

private:
    static constexpr uintptr_t kSystemCommands = 0xF000;

    bool Append(uintptr_t command, SystemMenuAction entry, bool separatorBefore) {
        if (!AppendSystemMenuEntry(window_, command, entry.caption, separatorBefore)) {
            return false;
        }
        commands_.emplace_back(command, std::move(entry.act));
        return true;
    }

    bool ActOnCommand(uintptr_t command) {
        for (const auto& [id, act] : commands_) {
            if (id == command) {
                if (act) {
                    act();
                }
                return true;
            }
        }
        return false;
    }

    uintptr_t window_;
    SystemEventHandlers handlers_;
    std::vector<std::pair<uintptr_t, std::function<void()>>> commands_;
};

}  // namespace

std::unique_ptr<SystemEvents> WatchSystemEvents(QWidget& window, SystemEventHandlers handlers) {
    return std::make_unique<WindowMessageEvents>(window, std::move(handlers));
}

bool SingleClickShowsWindow() { return false; }

}  // namespace orv
