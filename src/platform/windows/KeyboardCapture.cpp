#include "platform/KeyboardCapture.h"

#include <windows.h>

#include "platform/windows/KeyboardHook.h"

namespace orv {

namespace {

constexpr wchar_t kReceiverClass[] = L"ORV_GMouseKeyCapture";

// The hook posts each keystroke to a message-only window of ours, created on the window's
// thread; the thread's message loop dispatches it here, and it reaches the sink on that
// thread, in order, however the rest of the program handles window messages.
class HookKeyboardCapture final : public KeyboardCapture {
public:
    HookKeyboardCapture() = default;
    HookKeyboardCapture(const HookKeyboardCapture&) = delete;
    HookKeyboardCapture& operator=(const HookKeyboardCapture&) = delete;
    ~HookKeyboardCapture() override {
        Stop();
        if (receiver_ != nullptr) {
            DestroyWindow(receiver_);
        }
    }

    bool Start(KeySink& sink) override {
        if (!CreateReceiver()) {
            return false;
        }
        sink_ = &sink;
        if (!InstallKeyboardHook(receiver_)) {
            sink_ = nullptr;
            return false;
        }
        return true;
    }

    void Stop() override {
        RemoveKeyboardHook();
        SetKeyboardHookTarget(nullptr);
        sink_ = nullptr;
    }

    bool Active() const override { return sink_ != nullptr; }

private:
    bool CreateReceiver();
    static LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND receiver_ = nullptr;
    KeySink* sink_ = nullptr;
};

bool HookKeyboardCapture::CreateReceiver() {
    if (receiver_ != nullptr) {
        return true;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &ReceiverProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kReceiverClass;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return false;
    }
    receiver_ = CreateWindowExW(0, kReceiverClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                                nullptr);
    if (receiver_ == nullptr) {
        return false;
    }
    SetWindowLongPtrW(receiver_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
}

// Keystrokes posted before a Stop but dispatched after it find no sink and are dropped.
LRESULT CALLBACK HookKeyboardCapture::ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: {
        auto* capture = reinterpret_cast<HookKeyboardCapture*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (capture != nullptr && capture->sink_ != nullptr) {
            capture->sink_->OnKeyMessage(static_cast<KeyMessage>(message), static_cast<uint8_t>(wParam));
        }
        return 0;
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

std::unique_ptr<KeyboardCapture> CreateSystemKeyboardCapture() { return std::make_unique<HookKeyboardCapture>(); }

}  // namespace orv
