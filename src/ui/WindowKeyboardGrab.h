#pragma once
#include <memory>

#include <QObject>

#include "platform/KeyboardCapture.h"

class QWidget;

namespace orv {

// The keyboard capture where the system has no hook an ordinary program may set (X11,
// Wayland). The window grabs the keyboard for the whole recording, so no other application
// receives a key, and every key event reaching this program goes to the recorder rather than to
// the control it was meant for: Escape and Return close nothing, shortcuts do nothing.
//
// Wayland lets no client grab the keyboard: there the keys are taken while the program's window
// has the focus.
class WindowKeyboardGrab : public QObject, public KeyboardCapture {
public:
    enum class Reach { AllApplications, WhileFocused };

    WindowKeyboardGrab(QWidget& window, Reach reach);
    ~WindowKeyboardGrab() override;
    WindowKeyboardGrab(const WindowKeyboardGrab&) = delete;
    WindowKeyboardGrab& operator=(const WindowKeyboardGrab&) = delete;

    // False when the window system refuses the grab (another program holds it, the window is
    // not shown).
    bool Start(KeySink& sink) override;
    void Stop() override;
    bool Active() const override { return sink_ != nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    Reach reach_;
    KeySink* sink_ = nullptr;
    bool grabbed_ = false;
};

// The window's capture on the window system the program runs on.
std::unique_ptr<KeyboardCapture> CreateWindowKeyboardCapture(QWidget& window);

}  // namespace orv
