#include <gtest/gtest.h>

#include "platform/PointerSettings.h"

namespace orv {
namespace {

// Changes the settings for a moment and puts back what was there.
TEST(SystemPointerSettings, SetValuesAreWhatTheSystemReportsBack) {
    std::unique_ptr<PointerSettings> settings = CreateSystemPointerSettings();
    int speed = 0;
    int lines = 0;
    ASSERT_TRUE(settings->QueryPointerSpeed(speed));
    ASSERT_TRUE(settings->QueryWheelLines(lines));

    const int otherSpeed = speed == 14 ? 6 : 14;
    const int otherLines = lines == 7 ? 2 : 7;
    EXPECT_TRUE(settings->SetPointerSpeed(otherSpeed));
    EXPECT_TRUE(settings->SetWheelLines(otherLines));
    int readSpeed = 0;
    int readLines = 0;
    EXPECT_TRUE(settings->QueryPointerSpeed(readSpeed));
    EXPECT_TRUE(settings->QueryWheelLines(readLines));
    EXPECT_EQ(readSpeed, otherSpeed);
    EXPECT_EQ(readLines, otherLines);

    EXPECT_TRUE(settings->SetPointerSpeed(speed));
    EXPECT_TRUE(settings->SetWheelLines(lines));
}

}  // namespace
}  // namespace orv
