#include <gtest/gtest.h>
#include <windows.h>

#include "platform/windows/KeyboardHookProc.h"

namespace orv {
namespace {

class KeyboardHookTarget : public testing::Test {
protected:
    void SetUp() override {
        window_ = CreateWindowExW(0, L"STATIC", kTitle, 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        SetKeyboardHookTarget(kTitle);
    }
    void TearDown() override {
        SetKeyboardHookTarget(L"");
        if (window_ != nullptr) {
            DestroyWindow(window_);
        }
    }

    static LRESULT Press(WPARAM message, DWORD vk) {
        KBDLLHOOKSTRUCT key{};
        key.vkCode = vk;
        key.scanCode = 0x2A;
        key.flags = LLKHF_INJECTED;
        return KeyboardHookProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&key));
    }

    static constexpr const wchar_t* kTitle = L"TALVEN Q7 Gaming Mouse";
    HWND window_ = nullptr;
};

TEST_F(KeyboardHookTarget, PostsEachKeyMessageToTheTitledWindowAndSwallowsIt) {
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

TEST_F(KeyboardHookTarget, SwallowsKeysEvenWithoutTheWindow) {
    SetKeyboardHookTarget(L"岚峰Q7电竞游戏鼠标");
    EXPECT_EQ(Press(WM_KEYDOWN, VK_ESCAPE), 1);
    MSG posted{};
    EXPECT_FALSE(PeekMessageW(&posted, window_, 0, 0, PM_REMOVE));
}

}  // namespace
}  // namespace orv
