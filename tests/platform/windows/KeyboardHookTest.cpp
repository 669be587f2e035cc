#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "platform/KeyboardCapture.h"
#include "platform/windows/KeyboardHook.h"

namespace orv {
namespace {

LRESULT Press(WPARAM message, DWORD vk) {
    KBDLLHOOKSTRUCT key{};
    key.vkCode = vk;
    key.scanCode = 0x2A;
    key.flags = LLKHF_INJECTED;
    return KeyboardHookProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&key));
}

class KeyboardHookTarget : public testing::Test {
protected:
    void SetUp() override {
        window_ = CreateWindowExW(0, L"STATIC", L"target", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        SetKeyboardHookTarget(window_);
    }
    void TearDown() override {
        SetKeyboardHookTarget(nullptr);
        if (window_ != nullptr) {
            DestroyWindow(window_);
        }
    }

    HWND window_ = nullptr;
};

TEST_F(KeyboardHookTarget, PostsEachKeyMessageToTheTargetAndSwallowsIt) {
    const struct {
        WPARAM message;
        DWORD vk;
    } keys[] = {{WM_KEYDOWN, 0x41}, {WM_KEYUP, 0x41}, {WM_SYSKEYDOWN, 0xA4}, {WM_SYSKEYUP, 0xA4}, {WM_KEYDOWN, 0xA0}};
    for (const auto& key : keys) {
        EXPECT_EQ(Press(key.message, key.vk), 1);
    }
    for (const auto& key : keys) {
        MSG posted{};
        ASSERT_TRUE(PeekMessageW(&posted, window_, 0, 0, PM_REMOVE));
        EXPECT_EQ(posted.message, key.message);
        EXPECT_EQ(posted.wParam, key.vk);
        EXPECT_EQ(posted.lParam, 0);
    }
    MSG extra{};
    EXPECT_FALSE(PeekMessageW(&extra, window_, 0, 0, PM_REMOVE));
}

TEST_F(KeyboardHookTarget, SwallowsKeysEvenWithoutATarget) {
    SetKeyboardHookTarget(nullptr);
    EXPECT_EQ(Press(WM_KEYDOWN, VK_ESCAPE), 1);
    MSG posted{};
    EXPECT_FALSE(PeekMessageW(&posted, window_, 0, 0, PM_REMOVE));
}

class RecordingSink : public KeySink {
public:
    void OnKeyMessage(KeyMessage message, uint8_t virtualKey) override {
        received.push_back({static_cast<uint32_t>(message), virtualKey});
    }
    std::vector<std::pair<uint32_t, uint8_t>> received;
};

void DispatchPending() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

// The hook's posts reach the sink through the thread's own message loop, and nothing reaches
// it once the capture has stopped, not even keys posted just before.
TEST(KeyboardCapture, HookDeliversToTheSinkUntilStopped) {
    const auto capture = CreateSystemKeyboardCapture();
    ASSERT_NE(capture, nullptr);
    RecordingSink sink;
    ASSERT_TRUE(capture->Start(sink));
    EXPECT_TRUE(capture->Active());
    EXPECT_TRUE(KeyboardHookInstalled());

    Press(WM_KEYDOWN, 0xA0);
    Press(WM_SYSKEYDOWN, 0x41);
    Press(WM_KEYUP, 0xA0);
    DispatchPending();
    const std::vector<std::pair<uint32_t, uint8_t>> expected{{0x100, 0xA0}, {0x104, 0x41}, {0x101, 0xA0}};
    EXPECT_EQ(sink.received, expected);

    Press(WM_KEYUP, 0x41);
    capture->Stop();
    DispatchPending();
    EXPECT_EQ(sink.received, expected);
    EXPECT_FALSE(capture->Active());
    EXPECT_FALSE(KeyboardHookInstalled());
}

}  // namespace
}  // namespace orv
