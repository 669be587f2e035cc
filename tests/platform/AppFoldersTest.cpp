#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/TempFolder.h"
#include "platform/AppFolders.h"

namespace orv {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

namespace fs = std::filesystem;

const char* const kSeeded[] = {"config.ini", "Macro_EN.dat", "Macro_CN.dat", "constMacro.dat", "AppProfiles.ini"};

// An installed copy (prefix/bin without data, prefix/share/orv-gmouse with it) and a home.
struct Machine {
    Machine() {
        fs::create_directories(facts.executableFolder);
        fs::create_directories(shared / "skins");
        for (const char* name : kSeeded) {
            WriteBytes(shared / name, std::string("shipped ") + name);
        }
        WriteBytes(shared / "skins" / "main_mask.jpg", "picture");
    }
    TempFolder root;
    fs::path shared = root / "prefix/share/orv-gmouse";
    FolderFacts facts{root / "prefix/bin", true, shared, root / "home/.config/orv-gmouse"};
};

TEST(AppFolders, OneRuleChoosesTheLayout) {
    struct Case {
        const char* name;
        bool dir;
        bool configBeside;
        bool writable;
        FolderLayout layout;
    };
    const Case cases[] = {
        {"--dir wins over everything", true, true, true, FolderLayout::Given},
        {"--dir wins over an installed copy", true, false, false, FolderLayout::Given},
        {"config.ini beside a writable executable", false, true, true, FolderLayout::Portable},
        {"config.ini beside a read-only executable (Program Files)", false, true, false, FolderLayout::Installed},
        {"no config.ini beside the executable (/usr/bin)", false, false, true, FolderLayout::Installed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Machine m;
        m.facts.executableFolderWritable = c.writable;
        if (c.configBeside) {
            WriteBytes(m.facts.executableFolder / "config.ini", "beside");
        }
        const fs::path given = m.root / "given";
        const AppFolders f = ChooseAppFolders(c.dir ? std::optional(given) : std::nullopt, m.facts);
        EXPECT_EQ(f.layout, c.layout);
        switch (c.layout) {
        case FolderLayout::Given:
            EXPECT_EQ(f.AppDirectory, given);
            EXPECT_EQ(f.SkinDirectory, given / "skins");
            break;
        case FolderLayout::Portable:
            EXPECT_EQ(f.AppDirectory, m.facts.executableFolder);
            EXPECT_EQ(f.SkinDirectory, m.facts.executableFolder / "skins");
            break;
        case FolderLayout::Installed: {
            const fs::path shipped = c.configBeside ? m.facts.executableFolder : m.shared;
            EXPECT_EQ(f.AppDirectory, m.facts.userFolder);
            EXPECT_EQ(f.shippedFolder, shipped);
            EXPECT_EQ(f.SkinDirectory, shipped / "skins");
            break;
        }
        }
        EXPECT_FALSE(fs::exists(m.facts.userFolder)) << "choosing touches no file";
    }
}

TEST(AppFolders, InstalledCopySeedsTheUsersFolderOnceAndNeverOverwrites) {
    Machine m;
    AppFolders f;
    std::string error;
    ASSERT_TRUE(FindAppFolders(std::nullopt, m.facts, f, error)) << error;
    EXPECT_EQ(f.AppDirectory, m.facts.userFolder);
    for (const char* name : kSeeded) {
        EXPECT_EQ(ReadBytes(m.facts.userFolder / name), std::string("shipped ") + name) << name;
    }
    EXPECT_FALSE(fs::exists(m.facts.userFolder / "skins")) << "the skin stays shared";

    // The user changes settings, loses a macro file, and the program is updated.
    WriteBytes(m.facts.userFolder / "config.ini", "the user's profiles");
    fs::remove(m.facts.userFolder / "Macro_CN.dat");
    WriteBytes(m.shared / "config.ini", "updated shipped config");
    WriteBytes(m.shared / "Macro_CN.dat", "updated shipped macros");
    ASSERT_TRUE(FindAppFolders(std::nullopt, m.facts, f, error)) << error;
    EXPECT_EQ(ReadBytes(m.facts.userFolder / "config.ini"), "the user's profiles");
    EXPECT_EQ(ReadBytes(m.facts.userFolder / "Macro_CN.dat"), "updated shipped macros");
    EXPECT_EQ(ReadBytes(m.facts.userFolder / "Macro_EN.dat"), "shipped Macro_EN.dat");
}

// Installed files are read-only; a copy that kept that would make every save fail.
TEST(AppFolders, SeededCopiesCanBeWrittenAndMissingShippedFilesAreSkipped) {
    Machine m;
    fs::remove(m.shared / "Macro_EN.dat");
    fs::permissions(m.shared / "config.ini", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    AppFolders f;
    std::string error;
    ASSERT_TRUE(FindAppFolders(std::nullopt, m.facts, f, error)) << error;
    EXPECT_NE(fs::status(m.facts.userFolder / "config.ini").permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_FALSE(fs::exists(m.facts.userFolder / "Macro_EN.dat"));
    EXPECT_TRUE(fs::exists(m.facts.userFolder / "constMacro.dat"));
}

TEST(AppFolders, GivenAndPortableLayoutsCreateNothing) {
    Machine m;
    AppFolders f;
    std::string error;
    ASSERT_TRUE(FindAppFolders(m.root / "given", m.facts, f, error)) << error;
    WriteBytes(m.facts.executableFolder / "config.ini", "beside");
    ASSERT_TRUE(FindAppFolders(std::nullopt, m.facts, f, error)) << error;
    EXPECT_EQ(f.layout, FolderLayout::Portable);
    EXPECT_FALSE(fs::exists(m.facts.userFolder));
    EXPECT_FALSE(fs::exists(m.root / "given"));
}

TEST(AppFolders, AUserFolderThatCannotBeMadeIsAnError) {
    Machine m;
    AppFolders f;
    std::string error;
    m.facts.userFolder.clear();
    EXPECT_FALSE(FindAppFolders(std::nullopt, m.facts, f, error));
    EXPECT_NE(error.find("--dir"), std::string::npos) << error;

    m.facts.userFolder = m.root / "home/.config/orv-gmouse";
    fs::create_directories(m.facts.userFolder.parent_path());
    WriteBytes(m.facts.userFolder, "a file where the folder belongs");
    error.clear();
    EXPECT_FALSE(FindAppFolders(std::nullopt, m.facts, f, error));
    EXPECT_NE(error.find("orv-gmouse"), std::string::npos) << error;
}

}  // namespace
}  // namespace orv
