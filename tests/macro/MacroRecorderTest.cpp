#include <gtest/gtest.h>

#include <vector>

#include "macro/MacroRecorder.h"

namespace orv {
namespace {

class SetTime : public TimeOfDay {
public:
    int32_t Milliseconds() override { return now; }
    int32_t now = 0;
};

class MacroRecorderTest : public ::testing::Test {
protected:
    std::optional<int> Key(KeyMessage message, uint8_t vk, int32_t at = 0) {
        clock_.now = at;
        return recorder_.Capture(message, vk, 0);
    }
    std::optional<int> Down(uint8_t vk, int32_t at = 0) { return Key(KeyMessage::KeyDown, vk, at); }
    std::optional<int> Up(uint8_t vk, int32_t at = 0) { return Key(KeyMessage::KeyUp, vk, at); }

    MacroStore store_;
    SetTime clock_;
    MacroRecorder recorder_{store_, clock_};
};

TEST_F(MacroRecorderTest, MeasureEventDelayWrapsAtMidnightAndCapsAt65535) {
    const struct {
        int32_t previous;
        int32_t now;
        uint16_t delay;
    } cases[] = {
        {1'000, 1'250, 250},          {1'000, 1'000, 0},
        {0, 65'535, 65'535},          {0, 65'536, 65'535},  // more than 65.535 s
        {86'399'900, 100, 200},                             // midnight in between
        {86'390'000, 60'000, 65'535},                       // midnight within a gap of 70 s
        {5'000, 4'999, 65'535},                             // a whole day less a millisecond
    };
    for (const auto& c : cases) {
        clock_.now = c.previous;
        recorder_.MeasureEventDelay();
        clock_.now = c.now;
        EXPECT_EQ(recorder_.MeasureEventDelay(), c.delay) << c.previous << " -> " << c.now;
    }
}

TEST_F(MacroRecorderTest, PressesAndReleasesBecomeEventsWithTheMeasuredPauses) {
    recorder_.Start(3);
    EXPECT_EQ(Down(0x41, 1000), 0);
    EXPECT_EQ(Down(0xA0, 1120), 1);
    EXPECT_EQ(Up(0x41, 1200), 2);
    EXPECT_EQ(Up(0xA0, 1450), 3);
    recorder_.Stop();

    const MacroSlot& slot = store_.User(3);
    EXPECT_EQ(slot.eventCount(), 4);
    const std::vector<std::array<int, 3>> expected{{0x04, 1, 120}, {0xE1, 1, 80}, {0x04, 2, 250}, {0xE1, 2, 30}};
    for (size_t k = 0; k < expected.size(); ++k) {
        EXPECT_EQ(slot.EventKey(k), expected[k][0]) << k;
        EXPECT_EQ(slot.EventAction(k), expected[k][1]) << k;
        EXPECT_EQ(slot.Delay(k), expected[k][2]) << k;
    }
    EXPECT_TRUE(recorder_.RecordHeldKeys().empty());
}

TEST_F(MacroRecorderTest, AutoRepeatAndKeysHeldBeforeTheStartRecordNothing) {
    recorder_.Start(0);
    EXPECT_EQ(Up(0x42), std::nullopt);  // went down before the recording
    EXPECT_EQ(Down(0x41), 0);
    EXPECT_EQ(Down(0x41), std::nullopt);
    EXPECT_EQ(Down(0x41), std::nullopt);
    EXPECT_EQ(Up(0x41), 1);
    EXPECT_EQ(Up(0x41), std::nullopt);
    EXPECT_EQ(recorder_.RecordCount(), 2);
}

TEST_F(MacroRecorderTest, OneEventKeepsTheDelayOfTheClearedSlot) {
    recorder_.Start(0);
    Down(0x41, 5000);
    recorder_.Stop();
    EXPECT_EQ(store_.User(0).eventCount(), 1);
    EXPECT_EQ(store_.User(0).Delay(0), 0);
}

// Nine keys fill the held-key list; a tenth press is neither recorded nor held, so its
// release is ignored too. Once a key is released the tenth can be pressed.
TEST_F(MacroRecorderTest, TenthHeldKeyIsNotRecordedAndNothingIsWrittenPastTheList) {
    recorder_.Start(0);
    for (uint8_t vk = 0x41; vk < 0x41 + 9; ++vk) {
        ASSERT_TRUE(Down(vk).has_value());
    }
    EXPECT_EQ(Down(0x5A), std::nullopt);
    EXPECT_EQ(Down(0x5A), std::nullopt);  // its auto-repeat is refused again, not taken as a duplicate
    EXPECT_EQ(recorder_.RecordHeldKeys().size(), 9u);
    EXPECT_EQ(Up(0x5A), std::nullopt);

    EXPECT_EQ(Up(0x45), 9);
    EXPECT_EQ(recorder_.RecordHeldKeys().size(), 8u);
    EXPECT_EQ(recorder_.RecordHeldKeys()[4], 0x46);  // later entries moved forward
    EXPECT_EQ(Down(0x5A), 10);
    EXPECT_EQ(Up(0x5A), 11);
}

TEST_F(MacroRecorderTest, PressesStopAt108LinesAndEventsAt216) {
    recorder_.Start(0);
    EXPECT_EQ(recorder_.Capture(KeyMessage::KeyDown, 0x41, 107), 0);
    EXPECT_EQ(recorder_.Capture(KeyMessage::KeyDown, 0x42, 108), std::nullopt);
    EXPECT_EQ(recorder_.Capture(KeyMessage::SysKeyUp, 0x41, 108), 1);

    for (int i = 2; i < MacroRecorder::kMaxEvents; i += 2) {
        ASSERT_TRUE(Down(0x43).has_value());
        ASSERT_TRUE(Up(0x43).has_value());
    }
    EXPECT_EQ(recorder_.RecordCount(), 216);
    EXPECT_EQ(Down(0x44), std::nullopt);
    recorder_.Stop();
    EXPECT_EQ(store_.User(0).eventCount(), 216);
    EXPECT_EQ(store_.User(0).EventKey(216), 0);
}

}  // namespace
}  // namespace orv
