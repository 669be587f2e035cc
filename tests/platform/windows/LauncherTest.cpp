#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/ExecutablePath.h"
#include "platform/Launcher.h"
#include "platform/windows/SystemFolder.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

TEST(SystemFolderFile, IsInTheSystemFolder) {
    const fs::path calc = SystemFolderFile(L"calc.exe");
    ASSERT_TRUE(calc.is_absolute()) << calc.string();
    EXPECT_EQ(calc.filename(), "calc.exe");
    wchar_t system[MAX_PATH];
    ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
    EXPECT_TRUE(fs::equivalent(calc.parent_path(), fs::path(system)));
}

// Runs commandLine the way a bare program name is run, and waits for it to end.
bool RunBareName(std::wstring commandLine, const fs::path& folder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        return false;
    }
    WaitForSingleObject(process.hProcess, 60'000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// Starts the real calculator, so it runs only when asked for (the CI stage under Wine does).
class PlantedCalculator : public testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("ORV_RUN_LAUNCH_TESTS") == nullptr) {
            GTEST_SKIP() << "set ORV_RUN_LAUNCH_TESTS=1 to start programs";
        }
        programFolder_ = ExecutablePath().parent_path();
        currentFolder_ = fs::temp_directory_path() / ("orv-planted-" + std::to_string(GetCurrentProcessId()));
        fs::create_directories(currentFolder_);
        const fs::path planted = programFolder_ / "orv_planted_program.exe";
        ASSERT_TRUE(fs::exists(planted));
        for (const fs::path& folder : {programFolder_, currentFolder_}) {
            fs::copy_file(planted, folder / "calc.exe", fs::copy_options::overwrite_existing);
            fs::remove(folder / "planted-program-ran");
        }
        previousFolder_ = fs::current_path();
        fs::current_path(currentFolder_);
    }

    void TearDown() override {
        if (programFolder_.empty()) {
            return;
        }
        fs::current_path(previousFolder_);
        std::error_code ignored;
        fs::remove(programFolder_ / "calc.exe", ignored);
        fs::remove(programFolder_ / "planted-program-ran", ignored);
        fs::remove_all(currentFolder_, ignored);
    }

    bool Ran() const {
        return fs::exists(programFolder_ / "planted-program-ran") || fs::exists(currentFolder_ / "planted-program-ran");
    }

    fs::path programFolder_;
    fs::path currentFolder_;
    fs::path previousFolder_;
};

TEST_F(PlantedCalculator, NeverRunsFromTheProgramOrCurrentFolder) {
    // The plant works: a bare name finds it first.
    ASSERT_TRUE(RunBareName(L"calc.exe", currentFolder_));
    ASSERT_TRUE(Ran());
    fs::remove(programFolder_ / "planted-program-ran");
    fs::remove(currentFolder_ / "planted-program-ran");

    CreateSystemLauncher()->Launch(Program::Calculator);
    // A planted program would have been started before Launch returned; give it time to write.
    Sleep(2000);
    EXPECT_FALSE(Ran());
}

}  // namespace
}  // namespace orv
