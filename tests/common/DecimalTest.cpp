#include <gtest/gtest.h>

#include "common/Decimal.h"

namespace orv {
namespace {

TEST(ParseDecimal, ReadsLikeTheFilesAndEditBoxesDo) {
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"41abc", 41},
        {"  2", 2},
        {"\t-4", -4},
        {"+7", 7},
        {"-", 0},
        {"- 5", 0},
        {"0a5", 0},
        {"1234", 1234},
        {"007", 7},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseDecimal(c.text), c.value) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace orv
