#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "../common/TempFolder.h"
#include "common/Utf.h"
#include "settings/ConfigFile.h"

namespace orv {
namespace {

struct RunResult {
    int status;
    std::string out;
};

// Runs the command line on the simulated mouse with the folder as its data folder.
RunResult RunCtl(const test::TempFolder& folder, const std::string& args) {
    const std::string exe = PathToUtf8(std::filesystem::path(ORV_DATA_DIR) / "orv-gmousectl");
    const std::string out = PathToUtf8(folder / "out.txt");
    const std::string command = "\"" + exe + "\" --dir " + PathToUtf8(folder.Path()) + " --simulate " + args +
                                " > " + out + " 2>&1";
    const int status = std::system(command.c_str());
    return {status, test::ReadBytes(folder / "out.txt")};
}

TEST(CmdDevice, DevicesListsTheSimulatedCollections) {
    test::TempFolder folder;
    const RunResult r = RunCtl(folder, "devices");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "simulated://2f3a:0c51/col01 usage-page=0xff00 usage=0x0001 input-length=8 feature-length=0\n"
              "simulated://2f3a:0c51/col02 usage-page=0xff01 usage=0x0001 input-length=0 feature-length=8\n");
}

TEST(CmdDevice, ApplyTracesWhatTheMouseAndTheSystemReceive) {
    test::TempFolder folder;
    ProfileSettings s;
    SetFactorySettings(s);
    s.buttonFunction[1] = 41;
    s.fireTime = 300;
    SaveProfile(folder / "config.ini", 2, s);

    const RunResult r = RunCtl(folder, "--trace apply 2");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "report 07 10 01 01 00 00 00 00\n"
              "report 07 10 03 00 00 00 00 00\n"
              "report 07 10 02 02 00 00 00 00\n"
              "report 07 10 05 05 00 00 00 00\n"
              "report 07 10 04 04 00 00 00 00\n"
              "report 07 10 06 06 00 00 00 00\n"
              "report 07 11 00 00 00 00 00 00\n"
              "report 07 09 40 58 0f 00 00 00\n"
              "report 07 09 40 79 0f 00 00 00\n"
              "report 07 09 40 ba 0f 00 00 00\n"
              "report 07 09 40 eb 0f 00 00 00\n"
              "report 07 13 7f 10 0f 00 00 00\n"
              "pointer-speed 8\n"
              "wheel-lines 3\n"
              "report 07 12 00 25 00 00 00 00\n");
    EXPECT_EQ(LoadCurrentProfile(folder / "config.ini"), 2);
}

TEST(CmdDevice, ApplyRejectsAProfileOutsideOneToFive) {
    test::TempFolder folder;
    const RunResult r = RunCtl(folder, "apply 6");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.out.find("1 to 5"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder / "config.ini"));
}

}  // namespace
}  // namespace orv
