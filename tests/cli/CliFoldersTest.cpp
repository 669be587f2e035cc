#include <gtest/gtest.h>

#include <string>

#include "cli/RunCtl.h"
#include "common/TempFolder.h"
#include "common/Utf.h"

namespace orv {
namespace {

using test::CtlResult;
using test::RunCtl;
using test::TempFolder;

// A user with settings in more than one place must be able to tell which ones a run reads.
TEST(CliFolders, UsageSaysWhichFoldersTheRunUses) {
    TempFolder folder;
    const std::string dir = PathToUtf8(folder.Path());

    CtlResult r = RunCtl(folder, {"--help"});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("usage: orv-gmousectl [--dir DIR]", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\n  apply [N]\n"), std::string::npos) << r.out;
    // The build places the data beside the program: the portable layout.
    EXPECT_NE(r.out.find("\nwhere: config.ini and macros in "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(" (beside the program), skin in "), std::string::npos) << r.out;

    const std::string given =
        "\nwhere: config.ini and macros in " + dir + " (--dir), skin in " + PathToUtf8(folder.Path() / "skins") + "\n";
    r = RunCtl(folder, {"--dir", dir, "--help"});
    EXPECT_EQ(r.exit, 0);
    EXPECT_NE(r.out.find(given), std::string::npos) << r.out;

    r = RunCtl(folder, {"--dir", dir, "--frobnicate"});
    EXPECT_EQ(r.exit, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(given), std::string::npos) << r.err;
}

TEST(CliFolders, VersionIsOneLineAndNeedsNoFolder) {
    TempFolder folder;
    const CtlResult r = RunCtl(folder, {"--version"});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "orv-gmousectl " ORV_VERSION "\n");
}

}  // namespace
}  // namespace orv
