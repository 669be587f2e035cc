#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/RunCtl.h"
#include "common/TempFolder.h"
#include "common/Utf.h"

namespace orv {
namespace {

namespace fs = std::filesystem;
using test::CtlResult;
using test::Quoted;
using test::ReadBytes;

// How a file the command must write is spoiled. Root writes over read-only permissions, but a
// file without any write permission counts as read-only here for root too, as the read-only
// attribute does on Windows.
enum class Spoiled { ReadOnly, Folder, FolderMissing };

// The bytes of a file; a folder or nothing at all as such.
std::string Contents(const fs::path& file) {
    if (fs::is_directory(file)) {
        return "(a folder)";
    }
    return fs::exists(file) ? ReadBytes(file) : "(nothing)";
}

void Spoil(const fs::path& file, Spoiled how) {
    switch (how) {
    case Spoiled::ReadOnly:
        fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        break;
    case Spoiled::Folder:
        fs::remove(file);
        fs::create_directory(file);
        break;
    case Spoiled::FolderMissing:
        break;
    }
}

// Every command that writes config.ini or a macro file, with that file read-only, a folder in
// its place, or its folder missing: exit 1 with one line naming the file, and the file as it
// was. (A folder in config.ini's place cannot be read either, and a command that reads
// config.ini first says that.)
TEST(CliUnwritableFiles, ExitOneNamingTheFileAndKeepIt) {
    struct Case {
        const char* command;  // the file arguments follow
        const char* file;     // below the folder
        Spoiled how;
        const char* verb;
    };
    const Case cases[] = {
        {"apply 2", "config.ini", Spoiled::ReadOnly, "write"},
        {"apply", "config.ini", Spoiled::Folder, "read"},
        {"apply", "config.ini", Spoiled::FolderMissing, "write"},
        {"profile import", "config.ini", Spoiled::ReadOnly, "write"},
        {"profile import", "config.ini", Spoiled::Folder, "write"},
        {"profile import", "config.ini", Spoiled::FolderMissing, "write"},
        {"reset", "config.ini", Spoiled::ReadOnly, "write"},
        {"reset", "config.ini", Spoiled::Folder, "read"},
        {"reset", "config.ini", Spoiled::FolderMissing, "write"},
        {"reset", "Macro_EN.dat", Spoiled::ReadOnly, "write"},
        {"reset", "Macro_EN.dat", Spoiled::Folder, "write"},
        {"macro convert", "out.dat", Spoiled::ReadOnly, "write"},
        {"macro convert", "out.dat", Spoiled::Folder, "write"},
        {"macro convert", "out.dat", Spoiled::FolderMissing, "write"},
    };
    const fs::path data = ORV_DATA_DIR;
    for (const Case& c : cases) {
        test::TempFolder folder;
        for (const char* file :
             {"config.ini", "constMacro.dat", "skins/INI_EN/defMacro.dat", "skins/INI_CN/defMacro.dat"}) {
            fs::create_directories((folder / file).parent_path());
            fs::copy_file(data / file, folder / file);
        }
        test::WriteBytes(folder / "Macro_EN.dat", "[Macros]\r\nmacroNum=0\r\n");
        test::WriteBytes(folder / "out.dat", "[Macros]\r\nmacroNum=0\r\n");
        test::WriteBytes(folder / "in.ini", "[Config7]\r\nK0=5\r\n");
        const fs::path dir = c.how == Spoiled::FolderMissing ? folder / "missing" : folder.Path();
        const fs::path file = dir / c.file;
        Spoil(file, c.how);
        const std::string before = Contents(file);

        std::string command = c.command;
        if (command == "profile import") {
            command += " " + Quoted(folder / "in.ini") + " 2";
        } else if (command == "macro convert") {
            command += " " + Quoted(data / "Macro_EN.dat") + " " + Quoted(file);
        }
        const CtlResult r = test::RunCtlLine(folder, "--dir " + Quoted(dir) + " --simulate " + command);
        const std::string where = std::string(c.command) + " / " + c.file + " / " + std::to_string(int(c.how));
        EXPECT_EQ(r.exit, 1) << where;
        EXPECT_EQ(r.err, std::string("cannot ") + c.verb + " " + PathToUtf8(file) + "\n") << where;
        EXPECT_EQ(r.out, "") << where;
        EXPECT_EQ(Contents(file), before) << where;
        std::error_code ignored;
        fs::permissions(file, fs::perms::owner_all, fs::perm_options::add, ignored);
    }
}

}  // namespace
}  // namespace orv
