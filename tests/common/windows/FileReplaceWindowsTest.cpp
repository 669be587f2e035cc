#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "common/FileReplace.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

class ReplaceOnWindows : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("orv-replace-" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        target_ = folder_ / L"config 配置.ini";
        std::ofstream(target_, std::ios::binary) << "old";
    }
    void TearDown() override {
        SetFileAttributesW(target_.c_str(), FILE_ATTRIBUTE_NORMAL);
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    std::string Contents() const {
        std::ifstream in(target_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // Files that share the target's name: the target and any temporary made beside it. (Wine's
    // ReplaceFileW may leave a backup of its own, "rf*.tmp", which is not ours to remove.)
    size_t FilesNamedLikeTarget() const {
        size_t count = 0;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder_)) {
            count += entry.path().filename().wstring().starts_with(target_.filename().wstring()) ? 1 : 0;
        }
        return count;
    }

    static std::span<const uint8_t> Bytes(std::string_view text) {
        return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
    }

    fs::path folder_;
    fs::path target_;
};

TEST_F(ReplaceOnWindows, KeepsHiddenAndArchiveAttributes) {
    ASSERT_TRUE(SetFileAttributesW(target_.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_TRUE(ReplaceFileContents(target_, Bytes("new\r\ncontents")));
    EXPECT_EQ(Contents(), "new\r\ncontents");
    EXPECT_TRUE(GetFileAttributesW(target_.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(FilesNamedLikeTarget(), 1u);
}

// As the system's own profile writes do, a read-only file is left alone.
TEST_F(ReplaceOnWindows, ReadOnlyTargetFailsAndLeavesNoTemporary) {
    ASSERT_TRUE(SetFileAttributesW(target_.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(ReplaceFileContents(target_, Bytes("new")));
    EXPECT_EQ(Contents(), "old");
    EXPECT_EQ(FilesNamedLikeTarget(), 1u);
}

TEST_F(ReplaceOnWindows, TargetHeldOpenByAReaderIsReplacedOrLeftWhole) {
    // Another program reading the file with the usual sharing (no delete sharing).
    HANDLE reader = CreateFileW(target_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    const bool replaced = ReplaceFileContents(target_, Bytes("new"));
    CloseHandle(reader);
    EXPECT_EQ(Contents(), replaced ? "new" : "old");
    EXPECT_EQ(FilesNamedLikeTarget(), 1u);
}

TEST_F(ReplaceOnWindows, CreatesAMissingTargetAndFailsInAMissingFolder) {
    const fs::path fresh = folder_ / "fresh.ini";
    ASSERT_TRUE(ReplaceFileContents(fresh, Bytes("a")));
    EXPECT_EQ(fs::file_size(fresh), 1u);
    // The temporary file is hidden while it exists; what it becomes must not be.
    EXPECT_FALSE(GetFileAttributesW(fresh.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(ReplaceFileContents(folder_ / "missing" / "x.ini", Bytes("a")));
    EXPECT_FALSE(fs::exists(folder_ / "missing"));
}

// The id of a process that has ended: this test program started again to run no test.
DWORD EndedProcess() {
    wchar_t self[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
    std::wstring commandLine = L"\"" + std::wstring(self, length) + L"\" --gtest_filter=-*";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process)) {
        return 0;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return process.dwProcessId;
}

TEST_F(ReplaceOnWindows, RemovesTheLeftoversOfEndedWriters) {
    const DWORD dead = EndedProcess();
    ASSERT_NE(dead, 0u);
    const std::wstring name = target_.filename().wstring();
    const fs::path ofEnded = folder_ / (name + L"." + std::to_wstring(dead) + L".0.tmp");
    const fs::path ofSelf = folder_ / (name + L"." + std::to_wstring(GetCurrentProcessId()) + L".3.tmp");
    const fs::path ofOther = folder_ / (L"other.ini." + std::to_wstring(dead) + L".0.tmp");
    for (const fs::path& file : {ofEnded, ofSelf, ofOther}) {
        std::ofstream(file, std::ios::binary) << "half";
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    ASSERT_TRUE(ReplaceFileContents(target_, Bytes("new")));
    EXPECT_FALSE(fs::exists(ofEnded));
    EXPECT_TRUE(fs::exists(ofSelf));
    EXPECT_TRUE(fs::exists(ofOther));
}

}  // namespace
}  // namespace orv
