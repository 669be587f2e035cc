#include <gtest/gtest.h>

#include <set>

#include "macro/KeyCodes.h"

namespace orv {
namespace {

TEST(KeyCodes, LookupsOfTheTable) {
    struct Case {
        int virtualKey;
        int usage;
        std::string_view name;
    };
    const Case cases[] = {
        {0x41, 0x04, "A"},
        {0x5A, 0x1D, "Z"},
        {0x31, 0x1E, "1"},
        {0x39, 0x26, "9"},
        {0x30, 0x27, "0"},
        {0x0D, 0x28, "RETURN"},
        {0xBB, 0x2E, "+"},
        {0xDC, 0x31, "\\|"},
        {0xC0, 0x32, "`~"},
        {0xDE, 0x34, " ' "},
        {0x70, 0x3A, "F1"},
        {0x7B, 0x45, "F12"},
        {0x61, 0x59, "NUMPAD1"},
        {0x69, 0x61, "NUMPAD9"},
        {0x60, 0x62, "NUMPAD0"},
        {0x7C, 0x68, "F13"},
        {0x87, 0x73, "F24"},
        {0x29, 0x77, "SELECT"},
        {0x6C, 0x9F, "SEPARATOR"},
        {0xA0, 0xE1, "LSHIFT"},
        {0x5C, 0xE7, "RWIN"},
        // Pass-through: no row lists these virtual keys.
        {0xF0, 0xF0, "L-KEY"},
        {0xF1, 0xF1, "R-KEY"},
        {0xF2, 0xF2, "M-KEY"},
        {0xAD, 0xAD, "NON-AVAILABLE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.virtualKey);
        EXPECT_EQ(UsageFromVirtualKey(static_cast<uint8_t>(c.virtualKey)), c.usage);
        EXPECT_EQ(VirtualKeyFromUsage(static_cast<uint8_t>(c.usage)), c.virtualKey);
        EXPECT_EQ(KeyName(static_cast<uint8_t>(c.usage)), c.name);
    }
    EXPECT_EQ(KeyName(0x35), "NON-AVAILABLE");
    EXPECT_EQ(KeyName(0x76), "MENU");
    EXPECT_EQ(VirtualKeyFromUsage(0x76), 0x76);
    // Usage 4 is not a listed virtual key, so it loads unchanged but saves as the key of A.
    EXPECT_EQ(UsageFromVirtualKey(0x04), 0x04);
    EXPECT_EQ(VirtualKeyFromUsage(0x04), 0x41);
}

TEST(KeyCodes, TableIsOneToOneAndTheLookupsInvertEachOther) {
    std::set<int> usages;
    std::set<int> keys;
    for (const KeyRow& row : KeyTable()) {
        EXPECT_TRUE(usages.insert(row.usage).second) << int(row.usage);
        if (row.virtualKey >= 0) {
            EXPECT_TRUE(keys.insert(row.virtualKey).second) << row.virtualKey;
        }
    }
    EXPECT_EQ(usages.size(), 124u);
    EXPECT_EQ(keys.size(), 120u);
    for (int v : keys) {
        EXPECT_EQ(VirtualKeyFromUsage(UsageFromVirtualKey(static_cast<uint8_t>(v))), v);
    }
}

}  // namespace
}  // namespace orv
