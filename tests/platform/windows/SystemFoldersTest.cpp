#include <gtest/gtest.h>

#include <filesystem>

#include "common/TempFolder.h"
#include "platform/SystemFolders.h"

namespace orv {
namespace {

TEST(SystemFolders, RoamingAppDataAndDataBesideTheExecutable) {
    EXPECT_TRUE(UserConfigHome().is_absolute()) << UserConfigHome().string();
    EXPECT_EQ(UserFolderName(), std::filesystem::path(L"ORV_GMouse"));
    EXPECT_EQ(InstalledDataFolder(L"C:\\Program Files\\ORV_GMouse"),
              std::filesystem::path(L"C:\\Program Files\\ORV_GMouse"));
}

TEST(SystemFolders, WritableFolderIsProbedWithoutLeavingAFile) {
    test::TempFolder folder;
    EXPECT_TRUE(IsWritableFolder(folder.Path()));
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
    EXPECT_FALSE(IsWritableFolder(folder / "missing"));
}

}  // namespace
}  // namespace orv
