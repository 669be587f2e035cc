#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "common/IniFile.h"
#include "common/TempFolder.h"
#include "common/linux/Unprivileged.h"

namespace orv {
namespace {

using test::TempFolder;
using test::WriteBytes;

constexpr int kWrites = 100;

// Each writer runs in a process of its own, as a script's command line and the window do.
pid_t StartWriter(const std::filesystem::path& file, const std::string& section) {
    const pid_t child = ::fork();
    if (child == 0) {
        bool ok = true;
        for (int i = 0; i < kWrites; ++i) {
            ok = ini::Write(file, section, "K" + std::to_string(i), std::to_string(i)) && ok;
        }
        ::_exit(ok ? 0 : 1);
    }
    return child;
}

bool Succeeded(pid_t child) {
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(IniWriters, TwoProcessesWritingOneFileLoseNothing) {
    TempFolder folder;
    const auto file = folder / "config.ini";
    WriteBytes(file, "[Init]\r\nCurConfig=1\r\n");
    const pid_t first = StartWriter(file, "Config1");
    const pid_t second = StartWriter(file, "Config2");
    ASSERT_TRUE(Succeeded(first));
    ASSERT_TRUE(Succeeded(second));
    for (int i = 0; i < kWrites; ++i) {
        EXPECT_EQ(ini::Read(file, "Config1", "K" + std::to_string(i), 8), std::to_string(i)) << i;
        EXPECT_EQ(ini::Read(file, "Config2", "K" + std::to_string(i), 8), std::to_string(i)) << i;
    }
}

// A folder the user may not write to takes no lock file; the file there, written in place,
// is the one locked.
TEST(IniWriters, AFolderWithoutRoomForALockFileStillTakesWrites) {
    TempFolder folder;
    const auto file = folder / "config.ini";
    WriteBytes(file, "[Init]\r\nCurConfig=1\r\n");
    ::chmod(folder.Path().c_str(), 0555);
    const bool written = test::AsUnprivilegedUser({folder.Path(), file}, [&] {
        return ini::Write(file, "Init", "CurConfig", "3") && ini::Write(file, "Config3", "K0", "41");
    });
    ::chmod(folder.Path().c_str(), 0755);
    EXPECT_TRUE(written);
    EXPECT_EQ(test::ReadBytes(file), "[Init]\r\nCurConfig=3\r\n[Config3]\r\nK0=41\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

}  // namespace
}  // namespace orv
