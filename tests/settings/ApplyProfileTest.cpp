#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <thread>
#include <vector>

#include "common/TempFolder.h"
#include "common/IniFile.h"
#include "common/Trace.h"
#include "device/DeviceLink.h"
#include "device/FeatureReport.h"
#include "device/SimulatedMouse.h"
#include "fakes/RecordingPointerSettings.h"
#include "settings/ApplyProfile.h"
#include "settings/ConfigFile.h"

namespace orv {
namespace {

class ApplyProfileTest : public ::testing::Test {
protected:
    ApplyProfileTest() { link.FindDevice(); }

    ApplyResult Apply(const ProfileSettings& s, int32_t profile) {
        return ApplyProfile(s, profile, applied,
                            {reports, pointer, config, [this] { repaintedAfter.push_back(mouse.Reports().size()); }});
    }
    std::vector<std::string> Received() const {
        std::vector<std::string> lines;
        for (const auto& r : mouse.Reports()) {
            lines.push_back(Trace::HexBytes(r.bytes));
        }
        return lines;
    }

    test::TempFolder folder;
    std::filesystem::path config = folder / "config.ini";
    SimulatedMouse mouse;
    DeviceLink link{mouse};
    FeatureReport reports{link};
    test::RecordingPointerSettings pointer;
    AppliedState applied;
    std::vector<size_t> repaintedAfter;
};

ProfileSettings Sample() {
    ProfileSettings s;
    const int32_t buttons[6] = {1, 15, 13, 8, 41, 14};
    for (size_t i = 0; i < 6; ++i) {
        s.buttonFunction[i] = buttons[i];
    }
    s.wheelStatus = 1;
    const uint8_t steps[4] = {0, 4, 11, 6};
    const uint8_t enabled[4] = {1, 0, 1, 1};
    for (size_t n = 0; n < 4; ++n) {
        s.dpiStep[n] = steps[n];
        s.dpiEnabled[n] = enabled[n];
    }
    s.dpiLevel = 2;
    s.ledStatus = 2;
    s.pointerSpeed = 5;
    s.wheelSpeed = 2;
    s.fireTime = 300;
    s.reportRate = 3;
    return s;
}

TEST_F(ApplyProfileTest, SendsTheThirteenReportsSetsTheSystemAndSaves) {
    const ProfileSettings s = Sample();
    const ApplyResult result = Apply(s, 3);

    EXPECT_EQ(
        Received(),
        (std::vector<std::string>{
            "07 10 01 01 00 00 00 00", "07 10 03 0b 00 00 00 00", "07 10 02 09 00 00 00 00", "07 10 05 00 00 00 00 00",
            "07 10 04 00 00 00 00 00", "07 10 06 0a 00 00 00 00", "07 11 01 00 00 00 00 00",
            // every level carries the current level 2 and the mask of levels 0, 2, 3
            "07 09 42 18 0d 00 00 00", "07 09 42 59 0d 00 00 00", "07 09 42 fa 0d 00 00 00", "07 09 42 7b 0d 00 00 00",
            "07 13 7f 16 0d 00 00 00",  // byte 4 still holds the mask
            "07 12 00 25 00 00 00 00"}));
    EXPECT_EQ(pointer.log, (std::vector<std::string>{"pointer-speed 10", "wheel-lines 3"}));
    EXPECT_EQ(repaintedAfter, (std::vector<size_t>{12}));
    EXPECT_EQ(result.reportsSent, 13);
    EXPECT_EQ(result.reportsFailed, 0);
    EXPECT_TRUE(result.saved);

    EXPECT_EQ(applied.DpiReportFlag[1], 1);
    EXPECT_EQ(applied.RateCycleFlag[5], 1);
    EXPECT_EQ(applied.appliedDpiCode[2], 15);
    EXPECT_EQ(applied.appliedLedStatus, 2);

    EXPECT_EQ(LoadCurrentProfile(config), 3);
    for (int n : {6, 3}) {
        ProfileSettings back;
        LoadProfile(config, n, false, Language::English(), back);
        EXPECT_EQ(ProfileKeyValues(back), ProfileKeyValues(s)) << "profile " << n;
    }
}

TEST_F(ApplyProfileTest, FunctionMappingAndFlags) {
    struct Case {
        int32_t code;
        uint8_t value;
        int32_t dpiFlag;
        int32_t rateFlag;
    };
    const Case cases[] = {{0, 0, 0, 0},   {5, 5, 0, 0},  {6, 6, 1, 0},       {7, 0, 0, 0},      {10, 0, 0, 0},
                          {11, 7, 0, 0},  {13, 9, 0, 0}, {14, 10, 0, 1},     {15, 11, 1, 0},    {16, 12, 1, 0},
                          {17, 13, 0, 0}, {18, 0, 0, 0}, {21, 0, 0, 0},      {41, 0, 0, 0},     {52, 0, 0, 0},
                          {53, 0, 0, 0},  {-1, 0, 0, 0}, {INT_MIN, 0, 0, 0}, {INT_MAX, 0, 0, 0}};
    ProfileSettings s = Sample();
    for (const Case& c : cases) {
        // Start from set flags, so that a flag left over from the previous apply shows.
        applied.DpiReportFlag[3] = 1;
        applied.RateCycleFlag[3] = 1;
        s.buttonFunction[3] = c.code;
        mouse.ClearReports();
        Apply(s, 1);
        const auto sent = mouse.Reports();
        ASSERT_EQ(sent.size(), 13u);
        EXPECT_EQ(sent[3].bytes[2], 5) << c.code;  // button 3 is the mouse's button 5
        EXPECT_EQ(sent[3].bytes[3], c.value) << c.code;
        EXPECT_EQ(applied.DpiReportFlag[3], c.dpiFlag) << c.code;
        EXPECT_EQ(applied.RateCycleFlag[3], c.rateFlag) << c.code;
    }
}

TEST_F(ApplyProfileTest, HandEditedValuesStayInsideTheTables) {
    ProfileSettings s = Sample();
    s.dpiStep[0] = 200;
    s.ledStatus = 9;
    Apply(s, 1);
    const auto sent = Received();
    EXPECT_EQ(sent[7], "07 09 42 f8 0d 00 00 00");   // step 200 goes out as the last step
    EXPECT_EQ(sent[11], "07 13 7f 17 0d 00 00 00");  // lighting 9 goes out as 3
    EXPECT_EQ(applied.appliedDpiCode[0], 15);
    EXPECT_EQ(applied.appliedLedStatus, 3);
}

TEST_F(ApplyProfileTest, SystemSettingsFollowTheirQueries) {
    ProfileSettings s = Sample();
    s.pointerSpeed = 0;
    s.wheelSpeed = 9;
    Apply(s, 1);
    pointer.speedAnswers = false;
    s.pointerSpeed = 9;
    Apply(s, 1);
    pointer.speedAnswers = true;
    pointer.linesAnswer = false;
    Apply(s, 1);
    EXPECT_EQ(pointer.log,
              (std::vector<std::string>{"pointer-speed 1", "wheel-lines 10", "wheel-lines 10", "pointer-speed 18"}));
}

TEST_F(ApplyProfileTest, WithoutTheMouseEverythingElseStillHappens) {
    mouse.Unplug();
    const ApplyResult result = Apply(Sample(), 4);
    EXPECT_EQ(result.reportsFailed, 13);
    EXPECT_EQ(pointer.log.size(), 2u);
    EXPECT_EQ(LoadCurrentProfile(config), 4);
    EXPECT_FALSE(ini::Read(config, "Config4", "FIRE_TIME", 5).empty());
}

TEST_F(ApplyProfileTest, GoodbyeResetsThePointerSpeed) {
    Apply(Sample(), 1);
    pointer.log.clear();
    EXPECT_TRUE(SayGoodbye(reports, pointer));
    EXPECT_EQ(Received().back(), "07 20 00 00 00 00 00 00");
    EXPECT_EQ(pointer.log, (std::vector<std::string>{"pointer-speed 10"}));
}

// The window thread applies while the playback thread sends key reports: every report the
// mouse gets is whole, never a mix of the two threads' bytes.
TEST_F(ApplyProfileTest, ConcurrentKeyReportsNeverInterleave) {
    const ProfileSettings s = Sample();
    Apply(s, 1);
    const std::vector<std::string> applyReports = Received();
    mouse.ClearReports();

    std::thread playback([&] {
        const uint8_t keys[6] = {0x04, 0x05, 0x06, 0x07, 0x08, 0x09};
        for (int i = 0; i < 200; ++i) {
            reports.SendHeldKeys(keys);
            reports.SendMouseButtons(0xFE);
        }
    });
    for (int i = 0; i < 10; ++i) {
        Apply(s, 1);
    }
    playback.join();

    size_t keyReports = 0;
    size_t fromApply = 0;
    for (const auto& r : mouse.Reports()) {
        const std::string line = Trace::HexBytes(r.bytes);
        if (r.bytes[1] == command::kHeldKeys) {
            EXPECT_EQ(line, "07 15 04 05 06 07 08 09");
            ++keyReports;
        } else if (r.bytes[1] == command::kMouseButtons) {
            EXPECT_EQ(r.bytes[3], 0xFE);
            ++keyReports;
        } else {
            // Only bytes past a command's own may differ from a lone apply.
            const auto same = std::find_if(applyReports.begin(), applyReports.end(),
                                           [&](const std::string& a) { return a.substr(0, 11) == line.substr(0, 11); });
            EXPECT_NE(same, applyReports.end()) << line;
            ++fromApply;
        }
    }
    EXPECT_EQ(keyReports, 400u);
    EXPECT_EQ(fromApply, 130u);
}

}  // namespace
}  // namespace orv
