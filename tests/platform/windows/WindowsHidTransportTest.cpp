#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <chrono>
#include <future>

#include "device/HidTransport.h"
#include "device/windows/WindowsHidHandle.h"

namespace orv {
namespace {

// Whatever the system lists, every entry must be complete enough for discovery to match on,
// and a collection that is not there must not open.
TEST(WindowsHidTransport, EnumeratesWithoutTheMouseAndRefusesMissingPaths) {
    std::unique_ptr<HidTransport> transport = CreateSystemHidTransport();
    const std::vector<HidCollectionInfo> collections = transport->Enumerate(100);
    EXPECT_LE(collections.size(), 100u);
    for (const HidCollectionInfo& c : collections) {
        EXPECT_FALSE(c.path.empty());
    }
    EXPECT_TRUE(transport->Enumerate(0).empty());

    HidCollectionInfo missing;
    missing.path = "\\\\?\\hid#vid_2f3a&pid_0c51&mi_01#no-such-device#{4d1e55b2-f16f-11cf-88cb-001111000030}";
    missing.caps.featureReportLength = 8;
    EXPECT_EQ(transport->Open(missing, HidAccess::Write), nullptr);
    EXPECT_EQ(transport->Open(missing, HidAccess::Read), nullptr);
}

// A pipe blocks a synchronous ReadFile just as an input collection does while the mouse is
// silent, which is what the cancel must break.
class BlockingRead : public testing::Test {
protected:
    void SetUp() override {
        HANDLE readEnd = nullptr;
        ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd_, nullptr, 0));
        handle_ = WrapHidHandle(readEnd, 8);
    }
    void TearDown() override {
        if (writeEnd_ != nullptr) {
            CloseHandle(writeEnd_);
        }
    }

    void Send(std::array<uint8_t, 8> report) {
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(writeEnd_, report.data(), 8, &written, nullptr));
    }

    std::unique_ptr<HidHandle> handle_;
    HANDLE writeEnd_ = nullptr;
};

TEST_F(BlockingRead, ReturnsReportsAndIsCancelledWhileBlocked) {
    std::array<uint8_t, 64> buffer{};
    Send({6, 0xF1, 0, 0, 0, 0, 0, 0});
    ASSERT_EQ(handle_->ReadInputReport(buffer), HidReadResult::Ok);
    EXPECT_EQ(buffer[0], 6);
    EXPECT_EQ(buffer[1], 0xF1);

    for (int round = 0; round < 3; ++round) {
        std::future<HidReadResult> reader =
            std::async(std::launch::async, [&] { return handle_->ReadInputReport(buffer); });
        // Lands before, during or after the reader's ReadFile: each must end the read.
        Sleep(round * 20);
        handle_->CancelRead();
        ASSERT_EQ(reader.wait_for(std::chrono::seconds(30)), std::future_status::ready);
        EXPECT_EQ(reader.get(), HidReadResult::Cancelled);
    }

    Send({6, 0xF2, 0x80, 0, 0, 0, 0, 0});
    ASSERT_EQ(handle_->ReadInputReport(buffer), HidReadResult::Ok) << "a taken cancel is not left behind";
    EXPECT_EQ(buffer[1], 0xF2);
}

TEST_F(BlockingRead, CancelWithoutAReaderEndsTheNextReadOnly) {
    std::array<uint8_t, 8> buffer{};
    handle_->CancelRead();
    EXPECT_EQ(handle_->ReadInputReport(buffer), HidReadResult::Cancelled);
    Send({6, 0xF3, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(handle_->ReadInputReport(buffer), HidReadResult::Ok);
}

TEST_F(BlockingRead, AClosedCollectionFails) {
    CloseHandle(writeEnd_);
    writeEnd_ = nullptr;
    std::array<uint8_t, 8> buffer{};
    EXPECT_EQ(handle_->ReadInputReport(buffer), HidReadResult::Failed);
}

}  // namespace
}  // namespace orv
