#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/IniFile.h"
#include "common/TempFolder.h"
#include "fakes/RecordingMessages.h"
#include "macro/MacroFile.h"

namespace orv {
namespace {

class MacroFileTest : public ::testing::Test {
protected:
    std::filesystem::path File(const char* name) const { return folder_ / name; }
    static void WriteText(const std::filesystem::path& path, const std::string& text) { test::WriteBytes(path, text); }

    test::TempFolder folder_;
    test::RecordingMessages messages_;
};

// "ab", repeat off, count 1, A down 100 ms, A up 30 ms.
MacroSlot ExampleSlot() {
    MacroSlot slot;
    slot.SetName(u"ab");
    slot.SetRepeatCount(1);
    slot.SetEventCount(2);
    slot.SetEvent(0, 0x04, 1, 100);
    slot.SetEvent(1, 0x04, 2, 30);
    return slot;
}

std::string Groups(std::initializer_list<const char*> groups, size_t zeroGroupsAfter) {
    std::string out;
    for (const char* g : groups) {
        out += g;
    }
    for (size_t i = 0; i < zeroGroupsAfter; ++i) {
        out += "000";
    }
    return out;
}

TEST_F(MacroFileTest, ExampleValueIsExact) {
    std::string expected = Groups({"097", "000", "098", "000"}, 36);
    expected += Groups({"000", "001", "000", "002", "065", "001", "100", "000", "065", "002", "030", "000"}, 253 * 4);
    EXPECT_EQ(expected.size(), 3192u);
    EXPECT_EQ(FormatMacroValue(ExampleSlot()), expected);
}

TEST_F(MacroFileTest, SaveThenLoadGivesTheSameSlots) {
    MacroStore saved;
    saved.User(0) = ExampleSlot();
    MacroSlot& mixed = saved.User(1);
    mixed.SetName(u"鼠标 Ω");  // non-ASCII names still give digits only
    mixed.SetRepeatOn(1);
    mixed.SetRepeatCount(10000);
    mixed.SetEventCount(3);
    mixed.SetEvent(0, 0xF1, 1, 15);
    mixed.SetEvent(1, 0xF1, 2, 65535);
    mixed.SetEvent(2, 0xE1, 1, 0);
    mixed.SetEvent(254, 0x9C, 2, 300);  // beyond eventCount: stored all the same
    saved.macroCount = 2;
    const auto path = File("Macro_EN.dat");
    ASSERT_TRUE(SaveMacroFile(path, saved));

    const std::string value1 = ini::Read(path, "Macros", "1", 4096);
    ASSERT_EQ(value1.size(), 3192u);
    EXPECT_EQ(value1.substr(3 * 44, 12), "241001015000");  // right button down, 15 ms
    EXPECT_EQ(value1.substr(3 * 52, 6), "160001");         // LSHIFT saved as its virtual key 0xA0
    EXPECT_EQ(ini::Read(path, "Macros", "macroNum", 10), "2");

    MacroStore loaded;
    loaded.User(5).SetByte(0, 9);  // beyond the count: untouched
    EXPECT_EQ(LoadMacroFile(path, MacroTarget::User, loaded, messages_), ini::FileState::Read);
    EXPECT_EQ(loaded.macroCount, 2);
    EXPECT_EQ(loaded.selectedMacro, 1);
    EXPECT_EQ(loaded.User(0).Bytes(), saved.User(0).Bytes());
    EXPECT_EQ(loaded.User(1).Bytes(), saved.User(1).Bytes());
    EXPECT_EQ(loaded.User(5).Byte(0), 9);
    EXPECT_TRUE(messages_.shown.empty());

    MacroStore constants;
    LoadMacroFile(path, MacroTarget::Constant, constants, messages_);
    EXPECT_EQ(constants.Constant(1).Bytes(), saved.User(1).Bytes());
    EXPECT_EQ(constants.macroCount, 0);
    EXPECT_EQ(constants.User(0).eventCount(), 0);
}

TEST_F(MacroFileTest, UntranslatedKeyValueComesBackAsItsVirtualKey) {
    std::string value = Groups({}, 43) + "001" + "004" + "001" + "020" + "000";
    const auto path = File("in.dat");
    WriteText(path, "[Macros]\r\nmacroNum=1\r\n0=" + value + "\r\n");
    MacroStore store;
    LoadMacroFile(path, MacroTarget::User, store, messages_);
    EXPECT_EQ(store.User(0).EventKey(0), 0x04);
    const auto out = File("out.dat");
    SaveMacroFile(out, store);
    EXPECT_EQ(ini::Read(out, "Macros", "0", 4096).substr(3 * 44, 6), "065001");
}

TEST_F(MacroFileTest, ShortMissingAndMalformedValuesReadAsZero) {
    const auto path = File("short.dat");
    // Key "2" is missing; key "1" ends inside event 0 and has a field "0a5".
    WriteText(path, "[Macros]\r\nmacroNum=3\r\n0=" + FormatMacroValue(ExampleSlot()) + "\r\n1=0a5  7-01\r\n");
    MacroStore store;
    for (int i = 0; i < 3; ++i) {
        for (size_t b = 0; b < MacroSlot::kSize; ++b) {
            store.User(i).SetByte(b, 0xAA);
        }
    }
    LoadMacroFile(path, MacroTarget::User, store, messages_);
    EXPECT_EQ(store.macroCount, 3);
    EXPECT_EQ(store.selectedMacro, 2);
    EXPECT_EQ(store.User(0).Bytes(), ExampleSlot().Bytes());
    EXPECT_EQ(store.User(1).Byte(0), 0);
    EXPECT_EQ(store.User(1).Byte(1), 7);             // "  7"
    EXPECT_EQ(store.User(1).Byte(2), 0xFF);          // "-01": low 8 bits of -1
    for (size_t b = 3; b < MacroSlot::kSize; ++b) {  // past the end of the value
        ASSERT_EQ(store.User(1).Byte(b), 0) << b;
    }
    EXPECT_EQ(store.User(2).Bytes(), MacroStore{}.Blank().Bytes());
}

TEST_F(MacroFileTest, CountsOutsideTheStoreAreClamped) {
    struct Case {
        const char* macroNum;
        MacroTarget target;
        int loaded;
        int16_t macroCount;
        int32_t selected;
    };
    const Case cases[] = {
        {"0", MacroTarget::User, 0, 0, 0},       {"-5", MacroTarget::User, 0, 0, 0},
        {"13", MacroTarget::User, 12, 12, 11},   {"99", MacroTarget::User, 12, 12, 11},
        {"123", MacroTarget::User, 12, 12, 11},  // only "12" fits the buffer
        {"9", MacroTarget::Constant, 8, -1, -1}, {"-1", MacroTarget::Constant, 0, -1, -1},
    };
    std::string text = "[Macros]\r\n";
    for (int i = 0; i < 20; ++i) {
        MacroSlot slot = ExampleSlot();
        slot.SetRepeatCount(static_cast<uint16_t>(100 + i));
        text += std::to_string(i) + "=" + FormatMacroValue(slot) + "\r\n";
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.macroNum);
        const auto path = File("count.dat");
        WriteText(path, text + "macroNum=" + c.macroNum + "\r\n");
        MacroStore store;
        store.macroCount = -1;
        store.selectedMacro = -1;
        LoadMacroFile(path, c.target, store, messages_);
        const int first = c.target == MacroTarget::User ? 0 : MacroStore::kFirstConstantSlot;
        const int capacity = c.target == MacroTarget::User ? 12 : 8;
        for (int i = 0; i < capacity; ++i) {
            EXPECT_EQ(store.slots[first + i].repeatCount(), i < c.loaded ? 100 + i : 0) << i;
        }
        EXPECT_EQ(store.Blank().Bytes(), MacroSlot{}.Bytes());
        EXPECT_EQ(store.macroCount, c.macroCount);
        EXPECT_EQ(store.selectedMacro, c.selected);
    }
}

TEST_F(MacroFileTest, MissingFileShowsTheMessageAndLoadsNothing) {
    MacroStore store;
    store.User(0) = ExampleSlot();
    store.macroCount = 1;
    store.selectedMacro = 0;
    EXPECT_EQ(LoadMacroFile(File("none.dat"), MacroTarget::User, store, messages_), ini::FileState::Missing);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0], (std::pair<std::string, std::string>{"ORV_GMouse", "找不到配置文件"}));
    EXPECT_EQ(store.macroCount, 0);
    EXPECT_EQ(store.selectedMacro, 0);
    EXPECT_EQ(store.User(0).Bytes(), ExampleSlot().Bytes());
    EXPECT_FALSE(std::filesystem::exists(File("none.dat")));
}

// A replace takes the target's slots and counts from the file, or leaves everything as it was.
TEST_F(MacroFileTest, ReplaceTakesTheWholeTargetOrNothing) {
    MacroStore file;
    file.User(0) = ExampleSlot();
    file.User(0).SetName(u"new");
    file.macroCount = 1;
    ASSERT_TRUE(SaveMacroFile(File("one.dat"), file));
    const auto unreadable = File("locked.dat");
    test::MakeUnreadable(unreadable);

    MacroStore before;
    for (int i = 0; i < 3; ++i) {
        before.User(i) = ExampleSlot();
        before.Constant(i) = ExampleSlot();
    }
    before.macroCount = 3;
    before.selectedMacro = 2;
    const struct {
        const char* name;
        std::filesystem::path path;
        MacroTarget target;
        WhenMissing whenMissing;
        ini::FileState state;
        int16_t macroCount;
        std::u16string user0, constant0;
    } cases[] = {
        {"user file", File("one.dat"), MacroTarget::User, WhenMissing::KeepMacros, ini::FileState::Read, 1, u"new",
         u"ab"},
        {"constant file", File("one.dat"), MacroTarget::Constant, WhenMissing::KeepMacros, ini::FileState::Read, 3,
         u"ab", u"new"},
        {"missing, empty load", File("none.dat"), MacroTarget::User, WhenMissing::LoadEmpty, ini::FileState::Missing, 0,
         u"ab", u"ab"},
        {"missing, kept", File("none.dat"), MacroTarget::User, WhenMissing::KeepMacros, ini::FileState::Missing, 3,
         u"ab", u"ab"},
        {"unreadable", unreadable, MacroTarget::User, WhenMissing::LoadEmpty, ini::FileState::Unreadable, 3, u"ab",
         u"ab"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MacroStore store = before;
        EXPECT_EQ(ReplaceMacrosFromFile(c.path, c.target, store, messages_, c.whenMissing), c.state);
        EXPECT_EQ(store.macroCount, c.macroCount);
        EXPECT_EQ(store.User(0).name(), c.user0);
        EXPECT_EQ(store.Constant(0).name(), c.constant0);
        EXPECT_EQ(store.User(2).Bytes(), before.User(2).Bytes()) << "slots the file does not hold stay";
    }
}

TEST_F(MacroFileTest, SavingFewerMacrosLeavesLaterKeysInTheFile) {
    const auto path = File("export.dat");
    MacroStore six;
    for (int i = 0; i < 6; ++i) {
        six.User(i) = ExampleSlot();
        six.User(i).SetRepeatCount(static_cast<uint16_t>(i + 1));
    }
    six.macroCount = 6;
    SaveMacroFile(path, six);
    MacroStore four = six;
    four.macroCount = 4;
    four.User(0).SetRepeatCount(77);
    SaveMacroFile(path, four);
    EXPECT_EQ(ini::Read(path, "Macros", "macroNum", 10), "4");
    EXPECT_EQ(ini::Read(path, "Macros", "0", 4096), FormatMacroValue(four.User(0)));
    EXPECT_EQ(ini::Read(path, "Macros", "5", 4096), FormatMacroValue(six.User(5)));
}

TEST_F(MacroFileTest, SaveReportsAWriteFailure) {
    MacroStore store;
    store.macroCount = 1;
    EXPECT_FALSE(SaveMacroFile(folder_.Path() / "no-such-folder" / "m.dat", store));
}

}  // namespace
}  // namespace orv
