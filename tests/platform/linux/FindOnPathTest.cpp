#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/TempFolder.h"
#include "platform/linux/FindOnPath.h"
#include "platform/linux/ScopedPath.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

// The pointer settings once ran the first "gsettings" they found even when it was a folder or
// a file nobody may run; both users of the search now skip such entries.
TEST(FindOnPath, TakesTheFirstRegularExecutableOfAnAbsoluteFolder) {
    test::TempFolder folder;
    const fs::path dir = folder.Path();
    for (const char* sub : {"rel", "folder", "plain", "exec"}) {
        fs::create_directories(dir / sub);
    }
    std::ofstream(dir / "rel" / "tool") << "#!/bin/sh\n";
    fs::permissions(dir / "rel" / "tool", fs::perms::owner_all);
    fs::create_directories(dir / "folder" / "tool");
    std::ofstream(dir / "plain" / "tool") << "#!/bin/sh\n";
    fs::permissions(dir / "plain" / "tool", fs::perms::owner_read | fs::perms::owner_write);
    std::ofstream(dir / "exec" / "tool") << "#!/bin/sh\n";
    fs::permissions(dir / "exec" / "tool", fs::perms::owner_all);

    const fs::path oldCwd = fs::current_path();
    fs::current_path(dir);
    {
        test::ScopedPath path("rel::" + (dir / "folder").string() + ":" + (dir / "plain").string() + ":" +
                              (dir / "exec").string());
        EXPECT_EQ(FindOnPath("tool"), dir / "exec" / "tool");
        EXPECT_EQ(FindOnPath("missing"), std::nullopt);
    }
    fs::current_path(oldCwd);
}

}  // namespace
}  // namespace orv
