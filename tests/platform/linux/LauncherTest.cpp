#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "common/TempFolder.h"
#include "platform/Launcher.h"
#include "platform/linux/ScopedPath.h"

namespace orv {
namespace {

using test::ScopedPath;

void WriteScript(const std::filesystem::path& path, const std::string& body) {
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

bool WaitForFile(const std::filesystem::path& path) {
    for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::filesystem::exists(path);
}

TEST(SystemLauncher, StartsTheFirstProgramFoundOnAbsolutePathEntriesOnly) {
    test::TempFolder folder;
    const auto dir = folder.Path();
    std::filesystem::create_directories(dir / "bin");
    std::filesystem::create_directories(dir / "rel");
    const auto marks = dir / "marks";
    std::filesystem::create_directories(marks);
    // The later candidate is the one present; the relative entry must never be searched.
    WriteScript(dir / "bin" / "kcalc", ": > " + (marks / "kcalc").string());
    WriteScript(dir / "bin" / "xterm", ": > " + (marks / "xterm").string());
    WriteScript(dir / "rel" / "gnome-calculator", ": > " + (marks / "shadow").string());

    const auto oldCwd = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    {
        ScopedPath path("rel::" + (dir / "bin").string());
        auto launcher = CreateSystemLauncher();
        const auto before = std::chrono::steady_clock::now();
        launcher->Launch(Program::Calculator);
        launcher->Launch(Program::CommandPrompt);
        EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));  // never waits for the program
    }
    std::filesystem::current_path(oldCwd);
    EXPECT_TRUE(WaitForFile(marks / "kcalc"));
    EXPECT_TRUE(WaitForFile(marks / "xterm"));
    EXPECT_FALSE(std::filesystem::exists(marks / "shadow"));
    // The reaper collects the children: none is left for this process to wait for.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    for (int i = 0; i < 100 && waitpid(-1, nullptr, WNOHANG) == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
}

TEST(SystemLauncher, NothingFoundStartsNothing) {
    ScopedPath path("/nonexistent-orv-dir");
    CreateSystemLauncher()->Launch(Program::Calculator);
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
}

}  // namespace
}  // namespace orv
