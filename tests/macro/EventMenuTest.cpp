#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "macro/EventMenu.h"

namespace orv {
namespace {

// The path of captions to a command and its ids, for both languages.
struct Leaf {
    std::string english;
    std::string chinese;
    uint16_t englishId;
    uint16_t chineseId;
    EventCommand command;
};

void Collect(std::span<const EventMenuItem> items, const std::string& english, const std::string& chinese,
             std::vector<Leaf>& leaves, int& itemCount) {
    for (const EventMenuItem& item : items) {
        ++itemCount;
        const std::string en = english + "/" + std::string(Text(item.caption, Language::English()));
        const std::string cn = chinese + "/" + std::string(Text(item.caption, Language::Chinese()));
        if (item.OpensSubMenu()) {
            EXPECT_EQ(item.englishId, 0);
            Collect(item.subMenu, en, cn, leaves, itemCount);
        } else {
            leaves.push_back({en, cn, item.englishId, item.chineseId, item.command});
        }
    }
}

TEST(EventMenu, EveryCommandHasItsCaptionsAndBothIds) {
    std::vector<Leaf> leaves;
    int itemCount = 0;
    Collect(EventMenuItems(), "", "", leaves, itemCount);
    EXPECT_EQ(itemCount, 22);
    ASSERT_EQ(leaves.size(), 14u);

    using enum EventCommandKind;
    const struct {
        const char* english;
        const char* chinese;
        uint16_t englishId, chineseId;
        EventCommandKind kind;
        uint8_t key, action;
    } expected[] = {
        {"/Add Forward/Left Button/Down ", "/项前插入    /左键    /向下    ", 32802, 32817, InsertBefore, 0xF0, 1},
        {"/Add Forward/Left Button/Up", "/项前插入    /左键    /向上", 32803, 32818, InsertBefore, 0xF0, 2},
        {"/Add Forward/Right Button/Down", "/项前插入    /右键/向下    ", 32804, 32820, InsertBefore, 0xF1, 1},
        {"/Add Forward/Right Button/Up", "/项前插入    /右键/向上", 32805, 32821, InsertBefore, 0xF1, 2},
        {"/Add Forward/Mid Button/Down", "/项前插入    /中键/向下    ", 32806, 32823, InsertBefore, 0xF2, 1},
        {"/Add Forward/Mid Button/Up", "/项前插入    /中键/向上", 32807, 32824, InsertBefore, 0xF2, 2},
        {"/Add Backward/Left Button/Down ", "/项后插入/左键   /向下  ", 32809, 32829, InsertAfter, 0xF0, 1},
        {"/Add Backward/Left Button/Up", "/项后插入/左键   /向上", 32810, 32830, InsertAfter, 0xF0, 2},
        {"/Add Backward/Right Button/Down", "/项后插入/右键   /向下   ", 32811, 32831, InsertAfter, 0xF1, 1},
        {"/Add Backward/Right Button/Up", "/项后插入/右键   /向上", 32812, 32832, InsertAfter, 0xF1, 2},
        {"/Add Backward/Mid Button/Down", "/项后插入/中键   /向下   ", 32813, 32833, InsertAfter, 0xF2, 1},
        {"/Add Backward/Mid Button/Up", "/项后插入/中键   /向上", 32814, 32834, InsertAfter, 0xF2, 2},
        {"/Modify Delay", "/修改延迟", 32780, 32835, ModifyDelay, 0, 0},
        {"/Delete", "/删除", 32781, 32836, Delete, 0, 0},
    };
    for (size_t i = 0; i < leaves.size(); ++i) {
        const Leaf& leaf = leaves[i];
        EXPECT_EQ(leaf.english, expected[i].english);
        EXPECT_EQ(leaf.chinese, expected[i].chinese);
        EXPECT_EQ(leaf.englishId, expected[i].englishId) << leaf.english;
        EXPECT_EQ(leaf.chineseId, expected[i].chineseId) << leaf.english;
        for (const uint32_t id : {leaf.englishId, leaf.chineseId}) {
            const auto command = EventCommandForId(id);
            ASSERT_TRUE(command.has_value()) << id;
            EXPECT_EQ(command->kind, expected[i].kind) << id;
            EXPECT_EQ(command->key, expected[i].key) << id;
            EXPECT_EQ(command->action, expected[i].action) << id;
        }
    }
    for (const uint32_t other : {0u, 32808u, 32819u, 32837u, 154u}) {
        EXPECT_FALSE(EventCommandForId(other).has_value()) << other;
    }
}

}  // namespace
}  // namespace orv
