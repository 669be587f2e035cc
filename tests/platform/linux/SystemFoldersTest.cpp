#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "common/TempFolder.h"
#include "platform/SystemFolders.h"
#include "platform/linux/ScopedVariable.h"

namespace orv {
namespace {

using test::ScopedVariable;

TEST(SystemFolders, UserConfigHomeFollowsTheBaseDirectoryRules) {
    struct Case {
        const char* config;
        const char* home;
        const char* expected;
    };
    const Case cases[] = {
        {"/x/config", "/home/u", "/x/config"},
        {nullptr, "/home/u", "/home/u/.config"},
        {"", "/home/u", "/home/u/.config"},
        {"relative/config", "/home/u", "/home/u/.config"},
    };
    for (const Case& c : cases) {
        ScopedVariable config("XDG_CONFIG_HOME", c.config);
        ScopedVariable home("HOME", c.home);
        EXPECT_EQ(UserConfigHome(), std::filesystem::path(c.expected)) << (c.config ? c.config : "(unset)");
    }
    ScopedVariable config("XDG_CONFIG_HOME", nullptr);
    ScopedVariable home("HOME", nullptr);
    EXPECT_TRUE(UserConfigHome().is_absolute()) << "without HOME the password database names the home";
}

TEST(SystemFolders, InstalledDataLiesBesideBinUnderTheSamePrefix) {
    EXPECT_EQ(InstalledDataFolder("/usr/bin"), std::filesystem::path("/usr/share/orv-gmouse"));
    EXPECT_EQ(InstalledDataFolder("/tmp/stage/usr/bin"), std::filesystem::path("/tmp/stage/usr/share/orv-gmouse"));
    EXPECT_EQ(UserFolderName(), std::filesystem::path("orv-gmouse"));
}

TEST(SystemFolders, WritableFolder) {
    test::TempFolder folder;
    EXPECT_TRUE(IsWritableFolder(folder.Path()));
    EXPECT_FALSE(IsWritableFolder(folder / "missing"));
    test::WriteBytes(folder / "file", "");
    EXPECT_FALSE(IsWritableFolder(folder / "file"));
}

}  // namespace
}  // namespace orv
