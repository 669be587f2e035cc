#include <gtest/gtest.h>

#include "platform/linux/GnomeMouseSpeed.h"

namespace orv {
namespace {

TEST(GnomeMouseSpeed, EndsAndMiddleMeetAndEverySpeedComesBack) {
    EXPECT_DOUBLE_EQ(GnomeMouseSpeed(1), -1.0);
    EXPECT_DOUBLE_EQ(GnomeMouseSpeed(10), 0.0);
    EXPECT_DOUBLE_EQ(GnomeMouseSpeed(18), 0.8);
    EXPECT_DOUBLE_EQ(GnomeMouseSpeed(20), 1.0);
    EXPECT_DOUBLE_EQ(GnomeMouseSpeed(0), -1.0);  // out of the scale: held at its ends
    EXPECT_DOUBLE_EQ(GnomeMouseSpeed(25), 1.0);
    for (int speed = 1; speed <= 20; ++speed) {
        EXPECT_EQ(WindowsSpeedFromGnome(GnomeMouseSpeed(speed)), speed);
    }
    EXPECT_EQ(WindowsSpeedFromGnome(7.5), 20);
}

}  // namespace
}  // namespace orv
