#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/Trace.h"
#include "device/DeviceLink.h"
#include "device/FeatureReport.h"
#include "device/SimulatedMouse.h"

namespace orv {
namespace {

std::string Hex(std::span<const uint8_t> bytes) { return Trace::HexBytes(bytes); }

struct LayoutCase {
    const char* name;
    std::function<void(ReportBuffer&)> compose;
    const char* expected;  // the first eight bytes, over a buffer filled with 0xaa
};

TEST(FeatureReportLayout, WritesExactlyItsOwnBytes) {
    const uint8_t keys[6] = {0x04, 0x05, 0x06, 0x07, 0x08, 0x09};
    const std::vector<LayoutCase> cases = {
        {"dpi step 0 of level 2, all levels", [](ReportBuffer& b) { ComposeDpiLevel(b, 2, 1, 2, 0x0F); },
         "07 09 42 1a 0f aa aa aa"},
        {"dpi step 11 of level 2, level 0 only", [](ReportBuffer& b) { ComposeDpiLevel(b, 2, 15, 2, 0x01); },
         "07 09 42 fa 01 aa aa aa"},
        {"button function", [](ReportBuffer& b) { ComposeButtonFunction(b, 3, 11); }, "07 10 03 0b aa aa aa aa"},
        {"wheel status", [](ReportBuffer& b) { ComposeWheelStatus(b, 1); }, "07 11 01 00 aa aa aa aa"},
        {"fire time 300", [](ReportBuffer& b) { ComposeFireTime(b, 300); }, "07 12 00 25 00 00 00 00"},
        {"fire time 100", [](ReportBuffer& b) { ComposeFireTime(b, 100); }, "07 12 00 0c 00 00 00 00"},
        {"lighting 1", [](ReportBuffer& b) { ComposeLighting(b, 1); }, "07 13 7f 13 aa aa aa aa"},
        {"lighting 3", [](ReportBuffer& b) { ComposeLighting(b, 3); }, "07 13 7f 17 aa aa aa aa"},
        {"lighting beyond 3 as 3", [](ReportBuffer& b) { ComposeLighting(b, 200); }, "07 13 7f 17 aa aa aa aa"},
        {"held keys", [&](ReportBuffer& b) { ComposeHeldKeys(b, std::span<const uint8_t, 6>(keys)); },
         "07 15 04 05 06 07 08 09"},
        {"mouse buttons leave byte 2", [](ReportBuffer& b) { ComposeMouseButtons(b, 0xFE); },
         "07 16 aa fe aa aa aa aa"},
        {"consumer usage", [](ReportBuffer& b) { ComposeConsumerUsage(b, 0x0223); }, "07 17 02 23 aa aa aa aa"},
        {"goodbye", [](ReportBuffer& b) { ComposeGoodbye(b); }, "07 20 00 00 aa aa aa aa"},
    };
    for (const LayoutCase& c : cases) {
        ReportBuffer buffer;
        buffer.fill(0xAA);
        c.compose(buffer);
        EXPECT_EQ(Hex(std::span<const uint8_t>(buffer.data(), 8)), c.expected) << c.name;
        EXPECT_EQ(buffer[8], 0xAA) << c.name;
    }
}

class FeatureReportSend : public ::testing::Test {
protected:
    FeatureReportSend() { link.FindDevice(); }

    std::vector<std::string> Received() const {
        std::vector<std::string> lines;
        for (const auto& r : mouse.Reports()) {
            lines.push_back(Hex(r.bytes));
        }
        return lines;
    }

    SimulatedMouse mouse;
    DeviceLink link{mouse};
    FeatureReport reports{link};
};

TEST_F(FeatureReportSend, LaterReportsCarryEarlierBytes) {
    const uint8_t keys[6] = {0x04, 0x05, 0x06, 0x07, 0x08, 0x09};
    EXPECT_TRUE(reports.SendHeldKeys(keys));
    EXPECT_TRUE(reports.SendMouseButtons(0xFE));
    EXPECT_TRUE(reports.SendGoodbye());
    EXPECT_EQ(Received(), (std::vector<std::string>{"07 15 04 05 06 07 08 09", "07 16 04 fe 06 07 08 09",
                                                    "07 20 00 00 06 07 08 09"}));
}

TEST_F(FeatureReportSend, FailsWhenTheMouseIsGone) {
    mouse.Unplug();
    EXPECT_FALSE(reports.SendGoodbye());
    // The buffer still changed: the next report carries the goodbye's bytes like any other.
    EXPECT_EQ(reports.Contents()[1], command::kGoodbye);
}

// A transport whose one write collection claims a report longer than the buffer.
class LongReportTransport : public HidTransport {
public:
    class Handle : public HidHandle {
    public:
        explicit Handle(size_t& length) : length_(length) {}
        bool SendFeatureReport(std::span<const uint8_t> report) override {
            length_ = report.size();
            return true;
        }
        HidReadResult ReadInputReport(std::span<uint8_t>) override { return HidReadResult::Failed; }
        void CancelRead() override {}

    private:
        size_t& length_;
    };
    std::vector<HidCollectionInfo> Enumerate(size_t) override { return {{"w", 0x2F3A, 0x0C51, {0xFF01, 1, 0, 4000}}}; }
    std::unique_ptr<HidHandle> Open(const HidCollectionInfo&, HidAccess) override {
        return std::make_unique<Handle>(sentLength);
    }
    size_t sentLength = 0;
};

TEST(FeatureReportLength, NeverBeyondTheBuffer) {
    LongReportTransport transport;
    DeviceLink link(transport);
    link.FindDevice();
    FeatureReport reports(link);
    reports.SendGoodbye();
    EXPECT_EQ(transport.sentLength, sizeof(ReportBuffer));
}

}  // namespace
}  // namespace orv
