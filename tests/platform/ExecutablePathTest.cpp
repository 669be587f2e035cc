#include <gtest/gtest.h>

#include "platform/ExecutablePath.h"

namespace orv {
namespace {

TEST(ExecutablePath, NamesTheRunningTestProgram) {
    const std::filesystem::path path = ExecutablePath();
    ASSERT_TRUE(path.is_absolute()) << path.string();
    EXPECT_EQ(path.stem(), "orv_core_tests");
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
}

}  // namespace
}  // namespace orv
