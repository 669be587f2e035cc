#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "cli/RunCtl.h"
#include "common/TempFolder.h"

namespace orv {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

using test::CtlResult;
using test::RunCtl;

const char* const kProfile2 =
    "K0=1\nK1=41\nK2=3\nK3=0\nK4=0\nK5=-7\nDPI_LEVEL=2\nWHEEL_STATUS=1\nMACRO_MODE2=1\nDPI_SET0=44\n"
    "DPI_SET_EN0=1\nDPI_SET1=6\nDPI_SET_EN1=0\nDPI_SET2=0\nDPI_SET_EN2=0\nDPI_SET3=11\nDPI_SET_EN3=1\n"
    "LED_STATUS=2\nDPI_SPEED=4\nWHEEL_SPEED=2\nUSB_SPEED=3\nFIRE_TIME=1234\n";

// config.ini with profile 2 written by hand, out of order and with odd values.
void WriteConfig(const TempFolder& folder) {
    WriteBytes(folder / "config.ini",
               "[Init]\nCurConfig=2\nVER_SEL=1\n"
               "[Config1]\nK0=9\n"
               "[Config2]\nFIRE_TIME=12345\nK1=41abc\nK0=1\nK2=3\nK5=-7\nDPI_LEVEL=  2\nWHEEL_STATUS=1\n"
               "MACRO_MODE2=1\nDPI_SET0=300\nDPI_SET_EN0=7\nDPI_SET1=6\nDPI_SET3=11\nDPI_SET_EN3=1\n"
               "LED_STATUS=258\nDPI_SPEED=4\nWHEEL_SPEED=2\nUSB_SPEED=3\n");
}

TEST(CliProfile, ShowPrintsTheSavedLinesOfTheLoadedProfile) {
    TempFolder folder;
    WriteConfig(folder);
    const std::string dir = folder.Path().string();

    CtlResult r = RunCtl(folder, {"--dir", dir, "profile", "show"});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out, kProfile2) << "the profile of CurConfig";
    EXPECT_EQ(r.err, "");

    r = RunCtl(folder, {"--dir", dir, "profile", "show", "1"});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out.substr(0, 10), "K0=9\nK1=0\n");

    WriteBytes(folder / "config.ini", "[Config0]\nK0=3\n[Config1]\nK0=4\n");
    r = RunCtl(folder, {"--dir", dir, "profile", "show"});
    EXPECT_EQ(r.out.substr(0, 5), "K0=4\n") << "no CurConfig means profile 1";

    r = RunCtl(folder, {"--dir", dir, "profile", "show", "9"});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out.substr(0, 20), "K0=1\nK1=3\nK2=2\nK3=5\n") << "an absent section shows the factory profile";
    EXPECT_EQ(ReadBytes(folder / "config.ini"), "[Config0]\nK0=3\n[Config1]\nK0=4\n") << "showing writes nothing";
}

TEST(CliProfile, ShowAndExportWithoutConfigIniFailNamingIt) {
    TempFolder folder;
    const std::string dir = folder.Path().string();
    const auto exchange = folder / "out.ini";
    for (const std::vector<std::string>& args : {std::vector<std::string>{"profile", "show"},
                                                 {"profile", "show", "2"},
                                                 {"profile", "export", "1", exchange.string()}}) {
        std::vector<std::string> line = {"--dir", dir};
        line.insert(line.end(), args.begin(), args.end());
        const CtlResult r = RunCtl(folder, line);
        EXPECT_EQ(r.exit, 1) << args[1];
        EXPECT_EQ(r.out, "") << args[1];
        EXPECT_EQ(r.err, "cannot read " + (folder / "config.ini").string() + "\n") << args[1];
    }
    EXPECT_FALSE(std::filesystem::exists(exchange));
    EXPECT_FALSE(std::filesystem::exists(folder / "config.ini"));
}

TEST(CliProfile, ExportAndImportMoveAProfileThroughSectionSeven) {
    TempFolder folder;
    WriteConfig(folder);
    const std::string dir = folder.Path().string();
    const auto exchange = folder / "moved.ini";
    WriteBytes(exchange, "; kept\n[Other]\nx=1\n");

    CtlResult r = RunCtl(folder, {"--dir", dir, "profile", "export", "2", exchange.string()});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out, "");
    const std::string exported = ReadBytes(exchange);
    EXPECT_EQ(exported.rfind("; kept\n[Other]\nx=1\n[Config7]\nK0=1\nK1=41\n", 0), 0u) << exported;

    r = RunCtl(folder, {"--dir", dir, "profile", "import", exchange.string(), "4"});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out, "");
    r = RunCtl(folder, {"--dir", dir, "profile", "show", "4"});
    EXPECT_EQ(r.out, kProfile2);
}

TEST(CliProfile, ImportingAFileThatHoldsNoProfileChangesNothing) {
    TempFolder folder;
    WriteConfig(folder);
    const std::string dir = folder.Path().string();
    const std::string config = ReadBytes(folder / "config.ini");
    const auto other = folder / "other.ini";
    WriteBytes(other, "[Other]\nK0=5\n[Config1]\nK0=5\n");
    const auto empty = folder / "empty.ini";
    WriteBytes(empty, "");
    for (const auto& file : {other, empty, folder / "config.ini"}) {
        const CtlResult r = RunCtl(folder, {"--dir", dir, "profile", "import", file.string(), "2"});
        EXPECT_EQ(r.exit, 1) << file;
        EXPECT_EQ(r.err, file.string() + " holds no profile\n");
        EXPECT_EQ(ReadBytes(folder / "config.ini"), config);
    }

    // A section without keys is a profile: its missing keys read as 0.
    WriteBytes(empty, "[Config7]\n");
    EXPECT_EQ(RunCtl(folder, {"--dir", dir, "profile", "import", empty.string(), "2"}).exit, 0);
    EXPECT_EQ(RunCtl(folder, {"--dir", dir, "profile", "show", "2"}).out.substr(0, 10), "K0=0\nK1=0\n");
}

TEST(CliProfile, FailuresAndUsageErrors) {
    TempFolder folder;
    WriteConfig(folder);
    const std::string dir = folder.Path().string();
    const std::string config = ReadBytes(folder / "config.ini");
    const struct {
        std::vector<std::string> args;
        int exit;
    } cases[] = {
        {{"profile", "export", "2", (folder / "missing" / "x.ini").string()}, 1},
        {{"profile", "import", (folder / "missing.ini").string(), "2"}, 1},
        {{"profile"}, 2},
        {{"profile", "show", "x"}, 2},
        {{"profile", "show", "1", "2"}, 2},
        {{"profile", "export", "2"}, 2},
        {{"profile", "export", "two", "x.ini"}, 2},
        {{"profile", "import", "x.ini", "4x"}, 2},
        {{"profile", "rename"}, 2},
        {{"frobnicate"}, 2},
        {{}, 2},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"--dir", dir};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CtlResult r = RunCtl(folder, args);
        std::string line;
        for (const auto& a : c.args) {
            line += a + " ";
        }
        EXPECT_EQ(r.exit, c.exit) << line;
        EXPECT_EQ(r.out, "") << line;
        EXPECT_NE(r.err, "") << line;
        if (c.exit == 2) {
            EXPECT_NE(r.err.find("usage: orv-gmousectl"), std::string::npos) << line;
        }
    }
    EXPECT_EQ(ReadBytes(folder / "config.ini"), config);
}

TEST(CliProfile, ReadOnlyConfigMakesImportFail) {
    TempFolder folder;
    WriteConfig(folder);
    const auto exchange = folder / "in.ini";
    WriteBytes(exchange, "[Config7]\nK0=5\n");
    std::filesystem::permissions(folder / "config.ini", std::filesystem::perms::owner_read);
    const std::string config = ReadBytes(folder / "config.ini");
    const CtlResult r = RunCtl(folder, {"--dir", folder.Path().string(), "profile", "import", exchange.string(), "2"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err, "");
    EXPECT_EQ(ReadBytes(folder / "config.ini"), config);
}

}  // namespace
}  // namespace orv
