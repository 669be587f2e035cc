#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/RunCtl.h"
#include "common/IniFile.h"
#include "common/TempFolder.h"
#include "common/Utf.h"

namespace orv {
namespace {

using test::CtlResult;
using test::Quoted;
using test::ReadBytes;

CtlResult RunCtl(const test::TempFolder& folder, const std::string& args) {
    return test::RunCtlLine(folder, "--dir " + Quoted(folder.Path()) + " --simulate " + args);
}

// The shipped files (English), profile 3 current and edited, the user's own English macros.
void CopyShippedData(const test::TempFolder& folder) {
    const std::filesystem::path data = ORV_DATA_DIR;
    for (const char* file :
         {"config.ini", "Macro_CN.dat", "constMacro.dat", "skins/INI_EN/defMacro.dat", "skins/INI_CN/defMacro.dat"}) {
        std::filesystem::create_directories((folder / file).parent_path());
        std::filesystem::copy_file(data / file, folder / file);
    }
    ASSERT_TRUE(ini::Write(folder / "config.ini", "Init", "CurConfig", "3"));
    ASSERT_TRUE(ini::Write(folder / "config.ini", "Config3", "FIRE_TIME", "777"));
    test::WriteBytes(folder / "Macro_EN.dat", "[Macros]\r\nmacroNum=0\r\n");
}

TEST(CmdReset, TracesWhatApplyingTheResetProfileSendsAndTakesTheFactoryMacros) {
    test::TempFolder folder;
    CopyShippedData(folder);
    const std::string chinese = ReadBytes(folder / "Macro_CN.dat");

    const CtlResult reset = RunCtl(folder, "--trace reset");
    EXPECT_EQ(reset.exit, 0);
    EXPECT_EQ(reset.err, "");
    const CtlResult apply = RunCtl(folder, "--trace apply");
    EXPECT_EQ(reset.out, apply.out);
    EXPECT_EQ(ini::Read(folder / "config.ini", "Config3", "FIRE_TIME", 10),
              ini::Read(folder / "config.ini", "CfgReset3", "FIRE_TIME", 10));

    const CtlResult factory = RunCtl(folder, "macro list " + Quoted(folder / "skins/INI_EN/defMacro.dat"));
    const CtlResult user = RunCtl(folder, "macro list");
    EXPECT_NE(factory.out, "");
    EXPECT_EQ(user.out, factory.out);
    EXPECT_EQ(ReadBytes(folder / "Macro_CN.dat"), chinese);
}

TEST(CmdReset, AMissingFactoryMacroFileIsNamedAndTheUserMacrosStay) {
    test::TempFolder folder;
    CopyShippedData(folder);
    std::filesystem::remove(folder / "skins/INI_EN/defMacro.dat");
    const std::string before = ReadBytes(folder / "Macro_EN.dat");

    const CtlResult r = RunCtl(folder, "--trace reset");
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "找不到配置文件\ncannot read " + PathToUtf8(folder / "skins" / "INI_EN" / "defMacro.dat") + "\n");
    EXPECT_EQ(ReadBytes(folder / "Macro_EN.dat"), before);
    EXPECT_NE(r.out.find("report 07 12"), std::string::npos) << "the profiles are still reset and applied";

    EXPECT_EQ(RunCtl(folder, "reset now").exit, 2);
}

}  // namespace
}  // namespace orv
