#include <gtest/gtest.h>

#include <algorithm>

#include "device/HidTransport.h"

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
    missing.featureReportLength = 8;
    EXPECT_EQ(transport->Open(missing, HidAccess::Write), nullptr);
    EXPECT_EQ(transport->Open(missing, HidAccess::Read), nullptr);
}

}  // namespace
}  // namespace orv
