#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/TempFolder.h"
#include "common/Utf.h"
#include "settings/ConfigFile.h"

namespace orv {
namespace {

struct RunResult {
    int exit;
    std::string out;
    std::string err;
};

// Runs the command line on the simulated mouse with the folder as its data folder. The paths
// carry no quotes, so double quotes suit both the POSIX shell and cmd.exe; the program itself
// stays unquoted because cmd.exe drops the outer quotes of a line that starts with one.
RunResult RunCtl(const test::TempFolder& folder, const std::string& args) {
    const auto quoted = [](const std::filesystem::path& p) { return "\"" + PathToUtf8(p) + "\""; };
    const auto out = folder / "stdout.txt";
    const auto err = folder / "stderr.txt";
    const std::string command =
        std::filesystem::path(ORV_DATA_DIR "/orv-gmousectl").make_preferred().string() + " --dir " +
        quoted(folder.Path()) + " --simulate " + args + " >" + quoted(out) + " 2>" + quoted(err);
    const int status = std::system(command.c_str());
    // std::system gives the wait status on POSIX systems and the exit code on Windows.
    return {status >= 256 ? status >> 8 : status, test::ReadBytes(out), test::ReadBytes(err)};
}

TEST(CmdDevice, DevicesListsTheSimulatedCollections) {
    test::TempFolder folder;
    const RunResult r = RunCtl(folder, "devices");
    EXPECT_EQ(r.exit, 0);
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
    EXPECT_EQ(r.exit, 0);
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
    EXPECT_EQ(r.exit, 2);
    EXPECT_NE(r.err.find("1 to 5"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder / "config.ini"));
}

}  // namespace
}  // namespace orv
