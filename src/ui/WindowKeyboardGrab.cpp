#include "ui/WindowKeyboardGrab.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

#include "platform/X11KeyCodes.h"

namespace orv {

WindowKeyboardGrab::WindowKeyboardGrab(QWidget& window, Reach reach) : window_(window), reach_(reach) {}

WindowKeyboardGrab::~WindowKeyboardGrab() { Stop(); }

bool WindowKeyboardGrab::Start(KeySink& sink) {
    if (reach_ == Reach::AllApplications && !grabbed_) {
        QWindow* handle = window_.windowHandle();
        grabbed_ = handle != nullptr && handle->setKeyboardGrabEnabled(true);
        if (!grabbed_)
            return false;
    }
    if (sink_ == nullptr)
        qApp->installEventFilter(this);
    sink_ = &sink;
    return true;
}

void WindowKeyboardGrab::Stop() {
    if (grabbed_) {
        if (QWindow* handle = window_.windowHandle())
            handle->setKeyboardGrabEnabled(false);
        grabbed_ = false;
    }
    if (sink_ != nullptr)
        qApp->removeEventFilter(this);
    sink_ = nullptr;
}

// A key event reaches the program's window first and is then passed on to the focused
// control; taken at the first step, each keystroke is recorded once. A shortcut is claimed
// before it can fire, as the key belongs to the recording.
bool WindowKeyboardGrab::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto captured =
            CapturedKeyFromX11(event->type() == QEvent::KeyPress, key->isAutoRepeat(), key->nativeScanCode());
        event->accept();
        if (captured && sink_ != nullptr)
            sink_->OnKeyMessage(captured->message, captured->virtualKey);
        return true;
    }
    default:
        return false;
    }
}

// X11 is the one window system here that lets a client grab the keyboard. Elsewhere (Wayland,
// a screen of its own such as offscreen) the keys a program receives are those of its focused
// window anyway.
std::unique_ptr<KeyboardCapture> CreateWindowKeyboardCapture(QWidget& window) {
    const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    return std::make_unique<WindowKeyboardGrab>(
        window, x11 ? WindowKeyboardGrab::Reach::AllApplications : WindowKeyboardGrab::Reach::WhileFocused);
}

}  // namespace orv
