#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "common/IniFile.h"
#include "common/Utf.h"
#include "macro/MacroFile.h"

namespace orv {
namespace {

struct CliRun {
    int exit;
    std::string out;
};

// Through std::system with the output in a file, which works alike with the POSIX shell and
// with cmd.exe.
CliRun RunCli(const std::string& args) {
    const std::filesystem::path out = std::filesystem::temp_directory_path() / "orv_macro_cli_out.txt";
    const std::string command = std::filesystem::path(ORV_DATA_DIR "/orv-gmousectl").make_preferred().string() +
                                " " + args + " >\"" + PathToUtf8(out) + "\" 2>&1";
    const int status = std::system(command.c_str());
    std::ifstream in(out, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::filesystem::remove(out);
    // std::system gives the wait status on POSIX systems and the exit code on Windows.
    return {status >= 256 ? status >> 8 : status, text};
}

class MacroCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / "orv_macro_cli";
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        std::ofstream(dir_ / "config.ini") << "[Init]\r\nCurConfig=2\r\nVER_SEL=1\r\n[Config2]\r\nK0=41\r\nK1=39\r\n";
        MacroStore store;
        MacroSlot& combo = store.User(0);
        combo.SetName(u"Combo");
        combo.SetRepeatOn(1);
        combo.SetRepeatCount(2);
        combo.SetEvent(0, 0x04, 1, 20);
        combo.SetEvent(1, 0xF1, 1, 0);
        combo.SetEventCount(2);
        store.User(1).SetName(u"Empty");
        store.User(1).SetRepeatCount(1);
        store.macroCount = 2;
        ASSERT_TRUE(SaveMacroFile(dir_ / "Macro_EN.dat", store));
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Dir() const { return "--dir " + dir_.string(); }

    std::filesystem::path dir_;
};

TEST_F(MacroCliTest, ListAndConvert) {
    const CliRun list = RunCli(Dir() + " macro list");
    EXPECT_EQ(list.exit, 0);
    EXPECT_EQ(list.out, "0 Combo events=2 repeat=1/2\n1 Empty events=0 repeat=0/1\n");

    const auto out = dir_ / "out.dat";
    EXPECT_EQ(RunCli(Dir() + " macro convert " + (dir_ / "Macro_EN.dat").string() + " " + out.string()).exit, 0);
    EXPECT_EQ(ini::Read(out, "Macros", "0", 4096), ini::Read(dir_ / "Macro_EN.dat", "Macros", "0", 4096));

    // A missing input says so and leaves the output alone.
    const CliRun missing = RunCli(Dir() + " macro convert " + (dir_ / "none.dat").string() + " " + out.string());
    EXPECT_EQ(missing.exit, 1);
    EXPECT_EQ(missing.out, "找不到配置文件\n");
    EXPECT_EQ(ini::Read(out, "Macros", "macroNum", 10), "2");
    EXPECT_EQ(RunCli(Dir() + " macro list " + (dir_ / "none.dat").string()).exit, 1);
    EXPECT_EQ(RunCli(Dir() + " macro frobnicate").exit, 2);
}

TEST_F(MacroCliTest, InputPlaysAfterTheApplyAndWaitsForTheEnd) {
    std::ofstream(dir_ / "constMacro.dat") << "[Macros]\r\nmacroNum=0\r\n";
    const CliRun run = RunCli(Dir() + " --simulate --trace input 06f100 @2000:06f300");
    EXPECT_EQ(run.exit, 0) << run.out;
    const std::string pass =
        "report 07 15 04 00 00 00 00 00\n"
        "report 07 16 04 fd 00 00 00 00\n"
        "report 07 16 04 ff 00 00 00 00\n"
        "report 07 15 00 00 00 00 00 00\n";
    const size_t start = run.out.find("report 07 15");
    ASSERT_NE(start, std::string::npos) << run.out;
    EXPECT_NE(run.out.rfind("report 07 12", start), std::string::npos);  // the apply comes first
    // The second press comes long after the two passes: button 1 starts the calculator.
    EXPECT_EQ(run.out.substr(start), pass + pass + "launch calc\n");

    EXPECT_EQ(RunCli(Dir() + " input 06f100").exit, 2);  // only the simulated mouse takes input
    EXPECT_EQ(RunCli(Dir() + " --simulate input 06f").exit, 2);
    EXPECT_EQ(RunCli(Dir() + " --simulate input @x:06f100").exit, 2);
}

}  // namespace
}  // namespace orv
