#include <gtest/gtest.h>

#include "skin/SkinLayout.h"

namespace orv {
namespace {

TEST(SplitSkinValue, FollowsTheCommaRules) {
    const struct {
        const char* value;
        SkinFields fields;
        size_t commas;
    } cases[] = {
        {"12,34,56,78,abc,", {"12", "34", "56", "78", "abc", "", ""}, 5},
        // The label lacks its comma: it is lost, and field 5 starts over at the beginning.
        {"12,34,56,78,abc", {"12", "34", "56", "78", "", "12", ""}, 4},
        {"10,20,30,40", {"10", "20", "30", "", "10", "20", ""}, 3},
        {"-5,3,10,10,,", {"-5", "3", "10", "10", "", "", ""}, 5},
        {"100,200,50,20,", {"100", "200", "50", "20", "", "100", ""}, 4},
        {"Left Click", {"Left Click", "", "", "", "", "", ""}, 0},
        {"Left Click,", {"Left Click", "", "Left Click", "", "Left Click", "", ""}, 1},
        {"Copy,ignored,", {"Copy", "ignored", "", "Copy", "ignored", "", ""}, 2},
        {"", {"", "", "", "", "", "", ""}, 0},
        {"1,2,3,4,lbl,x,y,", {"1", "2", "3", "4", "lbl", "x", "y,"}, 7},
        {"1,2,3,4,lbl,x,tail", {"1", "2", "3", "4", "lbl", "x", "tail"}, 6},
        {",,,,", {"", "", "", "", "", "", ""}, 4},
    };
    for (const auto& c : cases) {
        const SplitSkinValueResult split = SplitSkinValue(c.value);
        EXPECT_EQ(split.fields, c.fields) << '"' << c.value << '"';
        EXPECT_EQ(split.commas, c.commas) << '"' << c.value << '"';
    }
}

}  // namespace
}  // namespace orv
