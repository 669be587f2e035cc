#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "common/FileReplace.h"
#include "common/FileWriteLock.h"
#include "common/TempFolder.h"
#include "common/linux/Unprivileged.h"

namespace orv {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

bool Replace(const std::filesystem::path& file, const std::string& text) {
    return ReplaceFileContents(file, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

mode_t Mode(const std::filesystem::path& file) {
    struct stat st {};
    ::stat(file.c_str(), &st);
    return st.st_mode & 07777;
}

size_t EntryCount(const std::filesystem::path& folder) {
    size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++n;
    }
    return n;
}

TEST(ReplaceFileContents, KeepsPermissionsAndLeavesNoTemporaryFile) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    WriteBytes(file, "old");
    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(Replace(file, "new contents"));
    EXPECT_EQ(ReadBytes(file), "new contents");
    EXPECT_EQ(Mode(file), 0640u);
    ASSERT_TRUE(Replace(file, ""));
    EXPECT_EQ(ReadBytes(file), "");
    EXPECT_EQ(EntryCount(folder.Path()), 1u);
}

TEST(ReplaceFileContents, NewFilesFollowTheUmask) {
    TempFolder folder;
    const mode_t mask = ::umask(022);
    EXPECT_TRUE(Replace(folder / "a.ini", "x"));
    ::umask(mask);
    EXPECT_EQ(Mode(folder / "a.ini"), 0644u);
}

TEST(ReplaceFileContents, ReplacesTheFileALinkPointsTo) {
    TempFolder folder;
    const auto real = folder / "real.ini";
    const auto link = folder / "link.ini";
    WriteBytes(real, "old");
    std::filesystem::create_symlink(real, link);
    ASSERT_TRUE(Replace(link, "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(real), "new");
}

TEST(ReplaceFileContents, RefusesReadOnlyFilesAndMissingFolders) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    WriteBytes(file, "old");
    ::chmod(file.c_str(), 0444);
    EXPECT_FALSE(Replace(file, "new"));
    EXPECT_EQ(ReadBytes(file), "old");
    EXPECT_FALSE(Replace(folder / "missing" / "a.ini", "new"));
    EXPECT_EQ(EntryCount(folder.Path()), 1u);
}

// No temporary file can be made in a folder the user may not write to, but a file there that
// the user may write is still theirs to change.
TEST(ReplaceFileContents, WritesInPlaceWhereTheFolderTakesNoTemporaryFile) {
    TempFolder folder;
    const auto file = folder / "config.ini";
    WriteBytes(file, "old contents, longer than the new ones");
    ::chmod(folder.Path().c_str(), 0555);
    const bool ok = test::AsUnprivilegedUser({folder.Path(), file}, [&] {
        return Replace(file, "new contents") && ReadBytes(file) == "new contents" &&
               !Replace(folder / "other.ini", "x");
    });
    ::chmod(folder.Path().c_str(), 0755);
    EXPECT_TRUE(ok);
    EXPECT_EQ(ReadBytes(file), "new contents");
    EXPECT_EQ(EntryCount(folder.Path()), 1u);
}

// A process id that no process has now: a child that has ended and been reaped.
pid_t EndedProcess() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

// A writer killed half-way leaves its temporary file; the next writer of that file removes it
// unless its process still runs, and leaves every other name alone. A write that finds
// nothing to change replaces nothing, so taking the write lock tidies up too.
TEST(ReplaceFileContents, RemovesTheLeftoversOfEndedWriters) {
    const std::string dead = std::to_string(EndedProcess());
    const std::string self = std::to_string(::getpid());
    const std::string parent = std::to_string(::getppid());
    const struct {
        std::string name;
        bool removed;
    } cases[] = {
        {".a.ini." + dead + ".0.tmp", true},   {".a.ini." + dead + ".4294967295.tmp", true},
        {".a.ini." + self + ".7.tmp", false},  {".a.ini." + parent + ".0.tmp", false},
        {".b.ini." + dead + ".0.tmp", false},  {"a.ini." + dead + ".0.tmp", false},
        {".a.ini." + dead + ".tmp", false},    {".a.ini." + dead + ".x.tmp", false},
        {".a.ini.x" + dead + ".0.tmp", false}, {".a.ini.lock", false},
    };
    for (const std::string writer : {"replace", "create", "lock"}) {
        TempFolder folder;
        for (const auto& c : cases) {
            WriteBytes(folder / c.name, "half");
        }
        if (writer == "create") {
            const std::string text = "new";
            ASSERT_EQ(CreateFileContents(folder / "a.ini",
                                         std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size())),
                      NewFile::Created);
        } else if (writer == "lock") {
            ASSERT_TRUE(FileWriteLock(folder / "a.ini").Held());
        } else {
            ASSERT_TRUE(Replace(folder / "a.ini", "new"));
        }
        for (const auto& c : cases) {
            EXPECT_EQ(std::filesystem::exists(folder / c.name), !c.removed) << c.name << " (" << writer << ")";
        }
    }
}

}  // namespace
}  // namespace orv
