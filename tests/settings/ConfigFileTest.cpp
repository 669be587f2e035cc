#include <gtest/gtest.h>

#include <string>

#include "common/TempFolder.h"
#include "settings/ConfigFile.h"

namespace orv {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

ProfileSettings Example() {
    ProfileSettings s;
    const int32_t buttons[6] = {1, 41, 3, 31, -2, 1234};
    for (size_t i = 0; i < 6; ++i) {
        s.buttonFunction[i] = buttons[i];
    }
    s.dpiLevel = 2;
    s.wheelStatus = 1;
    s.macroMode = 1;
    const uint8_t steps[4] = {0, 6, 11, 255};
    const uint8_t enabled[4] = {1, 0, 1, 1};
    for (size_t n = 0; n < 4; ++n) {
        s.dpiStep[n] = steps[n];
        s.dpiEnabled[n] = enabled[n];
    }
    s.ledStatus = 3;
    s.pointerSpeed = 9;
    s.wheelSpeed = 2;
    s.reportRate = 1;
    s.fireTime = -4;
    return s;
}

TEST(SaveProfile, WritesEveryKeyInOrderAndFormat) {
    TempFolder folder;
    const auto file = folder / "x.ini";
    ASSERT_TRUE(SaveProfile(file, 3, Example()));
    EXPECT_EQ(ReadBytes(file),
              "[Config3]\r\nK0=1\r\nK1=41\r\nK2=3\r\nK3=31\r\nK4=-2\r\nK5=1234\r\nDPI_LEVEL=2\r\n"
              "WHEEL_STATUS=1\r\nMACRO_MODE2=1\r\nDPI_SET0=0\r\nDPI_SET_EN0=1\r\nDPI_SET1=6\r\nDPI_SET_EN1=0\r\n"
              "DPI_SET2=11\r\nDPI_SET_EN2=1\r\nDPI_SET3=255\r\nDPI_SET_EN3=1\r\nLED_STATUS=3\r\nDPI_SPEED=9\r\n"
              "WHEEL_SPEED=2\r\nUSB_SPEED=1\r\nFIRE_TIME=-4\r\n");
}

TEST(SaveProfile, RoundTripsThroughLoadProfileAndTouchesNoOtherSection) {
    TempFolder folder;
    const auto file = folder / "config.ini";
    const std::string others = "; mine\n[Init]\nCurConfig=2\n[Config1]\nK0=7\n";
    WriteBytes(file, others);
    ASSERT_TRUE(SaveProfile(file, 2, Example()));
    ASSERT_TRUE(SaveProfile(file, 2, Example())) << "a second save finds every key in place";
    EXPECT_EQ(ReadBytes(file).rfind(others + "[Config2]\n", 0), 0u);
    ProfileSettings loaded;
    LoadProfile(file, 2, false, Language::English(), loaded);
    EXPECT_EQ(ProfileKeyValues(loaded), ProfileKeyValues(Example()));
}

TEST(LoadProfile, ReadsHandEditedValuesAsTheFieldsHoldThem) {
    TempFolder folder;
    const auto file = folder / "config.ini";
    WriteBytes(file,
               "[Config2]\n"
               "K0=41abc\n"                // digits up to the first other character
               "K1=abc\n"                  // no digits
               "K3=-12345\n"               // cut to 4 characters: "-123"
               "DPI_LEVEL=  2\n"           // leading blanks
               "FIRE_TIME=12345\n"         // cut to 4 characters
               "DPI_SET0=300\n"            // low 8 bits
               "DPI_SET1=1234567890123\n"  // cut to 9 characters, then low 8 bits
               "DPI_SET_EN0=7\n"           // any non-zero number enables
               "DPI_SET_EN1=-1\n"
               "DPI_SET_EN2=0x5\n"  // "0" then a letter: disabled
               "LED_STATUS=258\n"
               "USB_SPEED=12345\n"       // "1234", low 8 bits
               "WHEEL_STATUS=\"5\"\n");  // quotes come off
    ProfileSettings s = Example();       // every field must be replaced, missing keys by 0
    LoadProfile(file, 2, false, Language::Chinese(), s);
    EXPECT_EQ(s.buttonFunction[0], 41);
    EXPECT_EQ(s.buttonFunction[1], 0);
    EXPECT_EQ(s.buttonFunction[2], 0);
    EXPECT_EQ(s.buttonFunction[3], -123);
    EXPECT_EQ(s.dpiLevel, 2);
    EXPECT_EQ(s.fireTime, 1234);
    EXPECT_EQ(s.dpiStep[0], 44);
    EXPECT_EQ(s.dpiStep[1], 123456789 & 0xFF);
    EXPECT_EQ(s.dpiStep[2], 0);
    EXPECT_EQ(s.dpiEnabled[0], 1);
    EXPECT_EQ(s.dpiEnabled[1], 1);
    EXPECT_EQ(s.dpiEnabled[2], 0);
    EXPECT_EQ(s.dpiEnabled[3], 0);
    EXPECT_EQ(s.ledStatus, 2);
    EXPECT_EQ(s.reportRate, 1234 & 0xFF);
    EXPECT_EQ(s.wheelStatus, 5);
    EXPECT_EQ(s.macroMode, 0);
    EXPECT_EQ(s.pointerSpeed, 0);
}

// A profile of zeros would leave the mouse without its left click and without a DPI level.
TEST(LoadProfile, AnAbsentSectionReadsAsTheFactoryProfileNeverAsZeros) {
    TempFolder folder;
    const auto file = folder / "config.ini";
    WriteBytes(file, "[Init]\nCurConfig=3\n[Config2]\n[CfgReset3]\nK0=7\n");
    ProfileSettings factory;
    SetFactorySettings(factory);
    const struct {
        std::filesystem::path file;
        int n;
        bool fromReset;
        ProfileFound found;
        bool zeros;  // else the factory values
    } cases[] = {
        {folder / "none.ini", 1, false, ProfileFound::NoFile, false},
        {file, 3, false, ProfileFound::NoSection, false},
        {file, 0, false, ProfileFound::NoSection, false},
        {file, 5, true, ProfileFound::NoSection, false},
        {file, 2, false, ProfileFound::Section, true},  // a present section reads key by key
    };
    for (const auto& c : cases) {
        ProfileSettings s = Example();  // macroMode 1 must not survive either way
        EXPECT_EQ(LoadProfile(c.file, c.n, c.fromReset, Language::English(), s), c.found) << c.n;
        EXPECT_EQ(ProfileKeyValues(s), ProfileKeyValues(c.zeros ? ProfileSettings{} : factory)) << c.n;
    }
    ProfileSettings reset;
    EXPECT_EQ(LoadProfile(file, 3, true, Language::English(), reset), ProfileFound::Section);
    EXPECT_EQ(reset.buttonFunction[0], 7);
    EXPECT_EQ(reset.buttonFunction[1], 0);
}

TEST(LoadProfile, ResetSectionOfProfileFiveDependsOnEnglishExactly) {
    TempFolder folder;
    const auto file = folder / "config.ini";
    WriteBytes(file, "[Config5]\nK0=50\n[CfgReset5]\nK0=5\n[CfgReset_EN5]\nK0=15\n[CfgReset2]\nK0=2\n");
    const struct {
        int n;
        bool fromReset;
        int language;
        int32_t k0;
    } cases[] = {
        {5, true, 1, 15}, {5, true, 0, 5}, {5, true, 2, 5}, {2, true, 1, 2}, {5, false, 1, 50},
    };
    for (const auto& c : cases) {
        ProfileSettings s;
        LoadProfile(file, c.n, c.fromReset, Language::FromSetting(c.language), s);
        EXPECT_EQ(s.buttonFunction[0], c.k0)
            << "profile " << c.n << " reset " << c.fromReset << " language " << c.language;
    }
}

TEST(SaveSingleKeys, WriteOnlyTheirKey) {
    TempFolder folder;
    const auto file = folder / "config.ini";
    const std::string before = "[Config6]\nK0=1\nDPI_LEVEL = 0\nUSB_SPEED=2\n[Config1]\nDPI_LEVEL=1\n";
    WriteBytes(file, before);
    ProfileSettings s = Example();
    ASSERT_TRUE(SaveDpiLevel(file, 6, s));
    ASSERT_TRUE(SaveReportRate(file, 6, s));
    EXPECT_EQ(ReadBytes(file), "[Config6]\nK0=1\nDPI_LEVEL=2\nUSB_SPEED=1\n[Config1]\nDPI_LEVEL=1\n");
}

TEST(ConfigFile, FailedWritesReportFailure) {
    TempFolder folder;
    const auto file = folder / "missing" / "config.ini";
    EXPECT_FALSE(SaveProfile(file, 1, Example()));
    EXPECT_FALSE(SaveDpiLevel(file, 1, Example()));
    EXPECT_FALSE(SaveReportRate(file, 1, Example()));
    EXPECT_FALSE(SaveCurrentProfile(file, 1));
}

TEST(LoadLanguage, TakesTheLowEightBitsOfAtMostFourCharacters) {
    const struct {
        const char* file;
        int language;
    } cases[] = {
        {"[Init]\nVER_SEL=1\n", 1},
        {"[Init]\nVER_SEL=0\n", 0},
        {"[Init]\nVER_SEL=\n", 0},
        {"[Init]\n", 0},
        {"", 0},
        {"[Init]\nVER_SEL=2\n", 2},
        {"[Init]\nVER_SEL=256\n", 0},
        {"[Init]\nVER_SEL=257\n", 1},
        {"[Init]\nVER_SEL=12345\n", 1234 & 0xFF},
        {"[Init]\nVER_SEL=en\n", 0},
    };
    TempFolder folder;
    const auto file = folder / "config.ini";
    for (const auto& c : cases) {
        WriteBytes(file, c.file);
        EXPECT_EQ(LoadLanguage(file).Setting(), c.language) << c.file;
    }
    EXPECT_EQ(LoadLanguage(folder / "none.ini"), Language::Chinese());
}

TEST(CurrentProfile, MissingOrOutOfRangeReadsAsOneAndWrittenValuesReadBack) {
    TempFolder folder;
    const auto file = folder / "config.ini";
    EXPECT_EQ(LoadCurrentProfile(file), 1);
    for (const char* text : {"", "0", "6", "9", "-3", "text", "12345"}) {
        WriteBytes(file, std::string("[Init]\nCurConfig=") + text + "\n");
        EXPECT_EQ(LoadCurrentProfile(file), 1) << text;
    }
    WriteBytes(file, "[Init]\nCurConfig=5\n");
    EXPECT_EQ(LoadCurrentProfile(file), 5);
    std::filesystem::remove(file);
    ASSERT_TRUE(SaveCurrentProfile(file, 4));
    ASSERT_TRUE(SaveLanguage(file, Language::English()));
    EXPECT_EQ(LoadCurrentProfile(file), 4);
    EXPECT_EQ(LoadLanguage(file), Language::English());
    EXPECT_EQ(ReadBytes(file), "[Init]\r\nCurConfig=4\r\nVER_SEL=1\r\n");
}

}  // namespace
}  // namespace orv
