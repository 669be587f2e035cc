#include <gtest/gtest.h>

#include <vector>

#include "device/ReportDescriptor.h"

namespace orv {
namespace {

// A mouse's own pointer collection (report 1) followed by the two vendor collections: input
// report 6 on 0xFF00 and feature report 7 on 0xFF01, seven data bytes each.
const std::vector<uint8_t> kMouseDescriptor = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x01, 0x09, 0x01, 0xA1, 0x00,  //
    0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02,  // 3 buttons
    0x95, 0x01, 0x75, 0x05, 0x81, 0x03,                                      // padding
    0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06,  // x, y
    0xC0, 0xC0,                                                              //
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x06, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x07,
    0x09, 0x01, 0x81, 0x02, 0xC0,  //
    0x06, 0x01, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x07, 0x75, 0x08, 0x95, 0x07, 0x09, 0x01, 0xB1, 0x02, 0xC0,
};

TEST(ReportDescriptor, LengthsPerTopLevelCollectionWithReportId) {
    const auto collections = ParseReportDescriptor(kMouseDescriptor);
    ASSERT_EQ(collections.size(), 3u);
    EXPECT_EQ(collections[0].usagePage, 0x0001);
    EXPECT_EQ(collections[0].usage, 0x0002);
    EXPECT_EQ(collections[0].inputReportLength, 4);
    EXPECT_EQ(collections[1].usagePage, 0xFF00);
    EXPECT_EQ(collections[1].usage, 0x0001);
    EXPECT_EQ(collections[1].inputReportLength, 8);
    EXPECT_EQ(collections[1].featureReportLength, 0);
    EXPECT_EQ(collections[2].usagePage, 0xFF01);
    EXPECT_EQ(collections[2].featureReportLength, 8);
    EXPECT_EQ(collections[2].inputReportLength, 0);
}

TEST(ReportDescriptor, NoReportIdByteWithoutReportIds) {
    const std::vector<uint8_t> d = {0x06, 0x01, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75,
                                    0x08, 0x95, 0x07, 0x09, 0x01, 0xB1, 0x02, 0xC0};
    const auto collections = ParseReportDescriptor(d);
    ASSERT_EQ(collections.size(), 1u);
    EXPECT_EQ(collections[0].featureReportLength, 7);
}

TEST(ReportDescriptor, TruncatedDescriptorKeepsWhatWasRead) {
    for (size_t cut = 0; cut < kMouseDescriptor.size(); ++cut) {
        const auto collections = ParseReportDescriptor(std::span<const uint8_t>(kMouseDescriptor.data(), cut));
        EXPECT_LE(collections.size(), 3u);
    }
    // Cut before the feature collection's Feature item: that collection has no report yet.
    const auto collections =
        ParseReportDescriptor(std::span<const uint8_t>(kMouseDescriptor.data(), kMouseDescriptor.size() - 3));
    ASSERT_EQ(collections.size(), 3u);
    EXPECT_EQ(collections[1].inputReportLength, 8);
    EXPECT_EQ(collections[2].featureReportLength, 0);
}

// A device may claim reports of any size; lengths beyond what a system could give end at
// 0xFFFF, however many items add up to them.
TEST(ReportDescriptor, HugeReportsSaturateInsteadOfWrappingAround) {
    std::vector<uint8_t> d = {0x06, 0x01, 0xFF, 0x09, 0x01, 0xA1,
                              0x01, 0x77, 0x00, 0x00, 0x00, 0x80,  // report size 2^31 bits
                              0x97, 0x00, 0x00, 0x00, 0x80};       // report count 2^31
    for (int item = 0; item < 4; ++item) {                         // 2^64 bits in all
        d.insert(d.end(), {0x81, 0x02});
    }
    d.push_back(0xC0);
    const auto collections = ParseReportDescriptor(d);
    ASSERT_EQ(collections.size(), 1u);
    EXPECT_EQ(collections[0].inputReportLength, 0xFFFF);
}

}  // namespace
}  // namespace orv
