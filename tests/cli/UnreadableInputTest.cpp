#include <gtest/gtest.h>

#include <string>

#include "cli/RunCtl.h"
#include "common/TempFolder.h"
#include "common/Utf.h"

namespace orv {
namespace {

using test::CtlResult;
using test::Quoted;
using test::ReadBytes;
using test::WriteBytes;

CtlResult RunCtl(const test::TempFolder& folder, const std::string& args) {
    return test::RunCtlLine(folder, "--dir " + Quoted(folder.Path()) + " --simulate --trace " + args);
}

// A file that exists but cannot be read is an error that names it, never an empty file whose
// zeros are then written or sent.
TEST(CliUnreadableInput, ExitsOneNamingTheFileAndWritesAndSendsNothing) {
    test::TempFolder folder;
    const auto config = folder / "config.ini";
    const std::string configText = "[Init]\r\nCurConfig=2\r\n[Config1]\r\nK0=1\r\n[Config2]\r\nK0=1\r\n";
    WriteBytes(config, configText);
    const auto output = folder / "out.dat";
    const std::string outputText = "[Macros]\r\nmacroNum=2\r\n";
    WriteBytes(output, outputText);
    WriteBytes(folder / "Macro_CN.dat", outputText);
    const auto locked = folder / "locked.ini";
    test::MakeUnreadable(locked);

    const std::string cases[] = {
        "macro convert " + Quoted(locked) + " " + Quoted(output),
        "profile import " + Quoted(locked) + " 1",
        "macro list " + Quoted(locked),
        "macro list " + Quoted(folder.Path()),
    };
    for (const std::string& args : cases) {
        const CtlResult r = RunCtl(folder, args);
        EXPECT_EQ(r.exit, 1) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_NE(r.err.find("cannot read"), std::string::npos) << args << ": " << r.err;
    }
    EXPECT_EQ(ReadBytes(output), outputText);
    EXPECT_EQ(ReadBytes(config), configText);

    test::MakeUnreadable(config);
    for (const std::string args : {"apply 1", "apply", "profile show", "profile export 1 x.ini", "input 06f100"}) {
        const CtlResult r = RunCtl(folder, args);
        EXPECT_EQ(r.exit, 1) << args;
        EXPECT_EQ(r.out, "") << args << ": nothing is sent";
        EXPECT_NE(r.err.find("cannot read " + PathToUtf8(config)), std::string::npos) << args << ": " << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "x.ini"));
}

}  // namespace
}  // namespace orv
