#include <gtest/gtest.h>
#include <windows.h>

#include "platform/PointerSettings.h"

namespace orv {
namespace {

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Changes the settings for a moment and puts back what was there. Wine accepts a pointer speed
// but always reports 0, so there only the wheel lines can be read back.
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
    if (!UnderWine()) {
        EXPECT_EQ(readSpeed, otherSpeed);
    }
    EXPECT_EQ(readLines, otherLines);

    EXPECT_TRUE(settings->SetPointerSpeed(speed));
    EXPECT_TRUE(settings->SetWheelLines(lines));
}

}  // namespace
}  // namespace orv
