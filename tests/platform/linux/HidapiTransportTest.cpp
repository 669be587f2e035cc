#include <gtest/gtest.h>

#include "device/HidTransport.h"

namespace orv {
namespace {

// Whatever the machine has plugged in, the listing stays within its limit and names every
// entry, and a node that is not there does not open.
TEST(HidapiTransport, EnumeratesWithinTheLimitAndRefusesMissingNodes) {
    const std::unique_ptr<HidTransport> transport = CreateSystemHidTransport();
    for (const HidCollectionInfo& c : transport->Enumerate(100)) {
        EXPECT_FALSE(c.path.empty());
    }
    EXPECT_TRUE(transport->Enumerate(0).empty());

    HidCollectionInfo missing;
    missing.path = "/dev/hidraw-no-such-node";
    EXPECT_EQ(transport->Open(missing, HidAccess::Read), nullptr);
    EXPECT_EQ(transport->Open(missing, HidAccess::Write), nullptr);
}

}  // namespace
}  // namespace orv
