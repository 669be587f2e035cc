#include <gtest/gtest.h>

#include "macro/MacroStore.h"

namespace orv {
namespace {

TEST(MacroSlot, FieldsSitAtTheirOffsetsLittleEndian) {
    MacroSlot slot;
    slot.SetByte(40, 1);
    slot.SetByte(41, 0x10);
    slot.SetByte(42, 0x27);
    slot.SetByte(43, 255);
    slot.SetByte(552, 0xF1);
    slot.SetByte(553, 2);
    slot.SetByte(1062, 0x34);
    slot.SetByte(1063, 0x12);
    EXPECT_EQ(slot.repeatOn(), 1);
    EXPECT_EQ(slot.repeatCount(), 10000);
    EXPECT_EQ(slot.eventCount(), 255);
    EXPECT_EQ(slot.EventKey(254), 0xF1);
    EXPECT_EQ(slot.EventAction(254), 2);
    EXPECT_EQ(slot.Delay(254), 0x1234);

    MacroSlot written;
    written.SetRepeatCount(0xABCD);
    written.SetEvent(0, 0x04, 1, 0x0102);
    written.SetEvent(254, 0xE1, 2, 0xFFFE);
    const auto bytes = written.Bytes();
    EXPECT_EQ(bytes[41], 0xCD);
    EXPECT_EQ(bytes[42], 0xAB);
    EXPECT_EQ(bytes[44], 0x04);
    EXPECT_EQ(bytes[45], 1);
    EXPECT_EQ(bytes[554], 0x02);
    EXPECT_EQ(bytes[555], 0x01);
    EXPECT_EQ(bytes[552], 0xE1);
    EXPECT_EQ(bytes[553], 2);
    EXPECT_EQ(bytes[1062], 0xFE);
    EXPECT_EQ(bytes[1063], 0xFF);
}

TEST(MacroSlot, NameIsCutToNineteenUnitsAndNeverLeavesItsField) {
    MacroSlot slot;
    slot.SetEvent(0, 0x55, 0x55, 0);  // the byte right after the name block must survive
    slot.SetByte(40, 7);
    slot.SetName(u"abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(slot.name(), u"abcdefghijklmnopqrs");
    EXPECT_EQ(slot.Byte(38), 0);
    EXPECT_EQ(slot.Byte(39), 0);
    EXPECT_EQ(slot.Byte(40), 7);

    slot.SetName(u"ab");  // a shorter name clears the rest of the old one
    EXPECT_EQ(slot.name(), u"ab");
    for (size_t i = 4; i < 40; ++i) {
        EXPECT_EQ(slot.Byte(i), 0) << i;
    }
    EXPECT_EQ(slot.Byte(0), 0x61);
    EXPECT_EQ(slot.Byte(1), 0x00);

    // A cut that would leave half a surrogate pair drops the whole character.
    std::u16string emoji(18, u'x');
    emoji += u"\U0001F600";
    slot.SetName(emoji);
    EXPECT_EQ(slot.name(), std::u16string(18, u'x'));

    // A file may fill all 20 units without a terminator; reading stops at the field's end.
    for (size_t i = 0; i < 40; i += 2) {
        slot.SetByte(i, 'z');
        slot.SetByte(i + 1, 0);
    }
    EXPECT_EQ(slot.name(), std::u16string(20, u'z'));
}

TEST(MacroStore, SlotPositionsAndUserFiles) {
    MacroStore store;
    store.User(11).SetByte(0, 1);
    store.Constant(0).SetByte(0, 2);
    store.Constant(7).SetByte(0, 3);
    EXPECT_EQ(store.slots[11].Byte(0), 1);
    EXPECT_EQ(store.slots[13].Byte(0), 2);
    EXPECT_EQ(store.slots[20].Byte(0), 3);
    EXPECT_EQ(store.Blank().Byte(0), 0);

    store.User(0) = store.User(11);  // a whole slot moves as its bytes
    EXPECT_EQ(store.User(0).Bytes(), store.User(11).Bytes());

    EXPECT_EQ(UserMacroFileFor("d", Language::FromSetting(2)), std::filesystem::path("d") / "Macro_EN.dat");
    EXPECT_EQ(UserMacroFileFor("d", Language::Chinese()), std::filesystem::path("d") / "Macro_CN.dat");
}

}  // namespace
}  // namespace orv
