#include <gtest/gtest.h>

#include "common/IniFile.h"
#include "common/TempFolder.h"
#include "settings/ConfigFile.h"
#include "settings/ProfileExchange.h"

namespace orv {
namespace {

ProfileSettings Edited() {
    ProfileSettings s;
    SetFactorySettings(s);
    s.buttonFunction[2] = 44;
    s.dpiEnabled[3] = 0;
    s.fireTime = 296;
    s.macroMode = 1;
    return s;
}

TEST(ProfileExchange, ExportThenImportRestoresEveryFieldAndTouchesOnlyTheProfile) {
    test::TempFolder folder;
    const auto file = folder / "moved.ini";
    test::WriteBytes(file, "; kept\r\n[Other]\r\nx=1\r\n[Config7]\r\nK0=9\r\n");

    ASSERT_EQ(ExportProfile(Edited(), file), ExchangeResult::Done);
    EXPECT_EQ(test::ReadBytes(file).rfind("; kept\r\n[Other]\r\nx=1\r\n[Config7]\r\nK0=1\r\n", 0), 0u);
    ProfileSettings imported;
    imported.reportRate = 3;
    ASSERT_EQ(ImportProfile(file, imported), ExchangeResult::Done);
    EXPECT_EQ(ProfileKeyValues(imported), ProfileKeyValues(Edited()));
    EXPECT_EQ(ini::Read(file, "Other", "x", 5), "1");

    EXPECT_EQ(ExportProfile(Edited(), folder / "missing" / "x.ini"), ExchangeResult::CannotWrite);
}

TEST(ProfileExchange, ImportWithoutAProfileOrAFileChangesNothing) {
    test::TempFolder folder;
    test::WriteBytes(folder / "config.ini", "[Config1]\r\nK0=1\r\n[Config17]\r\nK0=2\r\n");
    std::filesystem::create_directories(folder / "a folder");
    const struct {
        std::filesystem::path file;
        ExchangeResult result;
    } cases[] = {
        {folder / "config.ini", ExchangeResult::NoProfile},
        {folder / "none.ini", ExchangeResult::CannotRead},
        {folder / "a folder", ExchangeResult::CannotRead},
    };
    for (const auto& c : cases) {
        ProfileSettings settings = Edited();
        EXPECT_EQ(ImportProfile(c.file, settings), c.result) << c.file;
        EXPECT_EQ(ProfileKeyValues(settings), ProfileKeyValues(Edited())) << c.file;
    }
}

}  // namespace
}  // namespace orv
