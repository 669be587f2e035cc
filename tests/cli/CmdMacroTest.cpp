#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "cli/RunCtl.h"
#include "common/IniFile.h"
#include "common/TempFolder.h"
#include "common/Utf.h"
#include "macro/MacroFile.h"

namespace orv {
namespace {

using RunResult = test::CtlResult;
using test::Quoted;

// Runs the command line with the folder as its data folder.
RunResult RunCtl(const test::TempFolder& folder, const std::string& args) {
    return test::RunCtlLine(folder, "--dir " + Quoted(folder.Path()) + " " + args);
}

class CmdMacroTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteBytes(folder_ / "config.ini",
                         "[Init]\r\nCurConfig=2\r\nVER_SEL=1\r\n[Config2]\r\nK0=41\r\nK1=39\r\n");
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
        ASSERT_TRUE(SaveMacroFile(folder_ / "Macro_EN.dat", store));
    }

    test::TempFolder folder_;
};

TEST_F(CmdMacroTest, ListAndConvert) {
    const RunResult list = RunCtl(folder_, "macro list");
    EXPECT_EQ(list.exit, 0);
    EXPECT_EQ(list.out, "0 Combo events=2 repeat=1/2\n1 Empty events=0 repeat=0/1\n");

    const auto in = folder_ / "Macro_EN.dat";
    const auto out = folder_ / "out.dat";
    EXPECT_EQ(RunCtl(folder_, "macro convert " + Quoted(in) + " " + Quoted(out)).exit, 0);
    EXPECT_EQ(ini::Read(out, "Macros", "0", 4096), ini::Read(in, "Macros", "0", 4096));
    EXPECT_EQ(RunCtl(folder_, "macro list " + Quoted(out)).out, list.out);

    // An input that is missing or holds no macros (no section "Macros") is named, and the output
    // is left alone.
    const auto none = folder_ / "none.dat";
    const auto notes = folder_ / "notes.txt";
    test::WriteBytes(notes, "shopping: milk\r\n[Config7]\r\nK0=1\r\n");
    const std::string before = test::ReadBytes(out);
    const struct {
        std::string args;
        std::string err;
    } refused[] = {
        {"macro convert " + Quoted(none) + " " + Quoted(out), "cannot read " + PathToUtf8(none) + "\n"},
        {"macro convert " + Quoted(notes) + " " + Quoted(out), PathToUtf8(notes) + " holds no macros\n"},
        {"macro list " + Quoted(none), "cannot read " + PathToUtf8(none) + "\n"},
    };
    for (const auto& r : refused) {
        const RunResult run = RunCtl(folder_, r.args);
        EXPECT_EQ(run.exit, 1) << r.args;
        EXPECT_EQ(run.err, r.err) << r.args;
        EXPECT_EQ(test::ReadBytes(out), before) << r.args;
    }
    EXPECT_EQ(RunCtl(folder_, "macro frobnicate").exit, 2);
}

TEST_F(CmdMacroTest, ListNeverLetsANameTakeOverTheTerminal) {
    MacroStore store;
    // Sets the window title, clears the screen, then a C1 control sequence introducer.
    store.User(0).SetName(u"\x1b]0;owned\x07\x1b[2J\r\u009b1m\u4E2D");
    store.macroCount = 1;
    const auto file = folder_ / "evil.dat";
    ASSERT_TRUE(SaveMacroFile(file, store));
    const RunResult list = RunCtl(folder_, "macro list " + Quoted(file));
    EXPECT_EQ(list.exit, 0);
    EXPECT_EQ(list.out, "0 \\x1b]0;owned\\x07\\x1b[2J\\x0d\\x9b1m\xE4\xB8\xAD events=0 repeat=0/0\n");
}

TEST_F(CmdMacroTest, InputPlaysAfterTheApplyAndWaitsForTheEnd) {
    test::WriteBytes(folder_ / "constMacro.dat", "[Macros]\r\nmacroNum=0\r\n");
    const RunResult run = RunCtl(folder_, "--simulate --trace input 06f100 @2000:06f300");
    EXPECT_EQ(run.exit, 0) << run.err;
    EXPECT_EQ(run.err, "");
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

    EXPECT_EQ(RunCtl(folder_, "input 06f100").exit, 2);  // only the simulated mouse takes input
    EXPECT_EQ(RunCtl(folder_, "--simulate input 06f").exit, 2);
    EXPECT_EQ(RunCtl(folder_, "--simulate input @x:06f100").exit, 2);
}

TEST_F(CmdMacroTest, InputRefusesDelaysAboveOneMinute) {
    for (const char* report : {"@60001:06f100", "@999999999:06f100"}) {
        const RunResult run = RunCtl(folder_, std::string("--simulate --trace input 06f100 ") + report);
        EXPECT_EQ(run.exit, 2) << report;
        EXPECT_EQ(run.out, "") << report << ": nothing is sent";
        EXPECT_NE(run.err.find("usage: orv-gmousectl"), std::string::npos) << report;
    }
}

TEST_F(CmdMacroTest, InputFollowsTheReportedDpiLevelEvenWhenTheReleaseComesAtOnce) {
    // Button 3 (device number 5) steps the DPI level on the mouse, which reports the new level.
    test::WriteBytes(folder_ / "config.ini", "[Init]\r\nCurConfig=2\r\n[Config2]\r\nK3=15\r\nDPI_LEVEL=0\r\n");
    const RunResult run = RunCtl(folder_, "--simulate input 06f502 06f580");
    EXPECT_EQ(run.exit, 0) << run.err;
    EXPECT_EQ(ini::Read(folder_ / "config.ini", "Config2", "DPI_LEVEL", 10), "2");
}

}  // namespace
}  // namespace orv
