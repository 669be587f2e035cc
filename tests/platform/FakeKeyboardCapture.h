#pragma once
#include <cstdint>

#include "platform/KeyboardCapture.h"

namespace orv::test {

// A keyboard capture the test types into. Keystrokes sent while it does not capture go
// nowhere, as they would reach other applications instead.
class FakeKeyboardCapture : public KeyboardCapture {
public:
    bool Start(KeySink& sink) override {
        if (refuse) {
            return false;
        }
        sink_ = &sink;
        ++starts;
        return true;
    }
    void Stop() override { sink_ = nullptr; }
    bool Active() const override { return sink_ != nullptr; }

    void Send(KeyMessage message, uint8_t virtualKey) {
        if (sink_ != nullptr) {
            sink_->OnKeyMessage(message, virtualKey);
        }
    }
    void Down(uint8_t virtualKey) { Send(KeyMessage::KeyDown, virtualKey); }
    void Up(uint8_t virtualKey) { Send(KeyMessage::KeyUp, virtualKey); }

    bool refuse = false;
    int starts = 0;

private:
    KeySink* sink_ = nullptr;
};

}  // namespace orv::test
