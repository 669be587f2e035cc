#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace orv {

// Which top-level collection it is and its report lengths, as the system's HID capabilities
// give them: the longest report of each kind in bytes, plus one for the report ID when the
// device uses report IDs; 0 when the collection has no report of that kind.
struct HidCaps {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t inputReportLength = 0;
    uint16_t featureReportLength = 0;
};

// One HID top-level collection as the system lists it.
struct HidCollectionInfo {
    std::string path;  // UTF-8; on Windows the device interface path
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    HidCaps caps;
    // The collection is present but this user may not open it (on Linux: the hidraw node's
    // permissions), so "no mouse" would be the wrong thing to tell the user.
    bool accessDenied = false;
};

enum class HidReadResult { Ok, Failed, Cancelled };

// An open collection. Reads block until a report arrives, the read fails, or CancelRead is
// called from another thread (for clean shutdown of the command line and of tests). A cancel
// that finds no read blocked makes the next read return Cancelled at once, so a stop request
// racing the start of a read is never lost.
class HidHandle {
public:
    virtual ~HidHandle() = default;
    virtual bool SendFeatureReport(std::span<const uint8_t> report) = 0;
    virtual HidReadResult ReadInputReport(std::span<uint8_t> buffer) = 0;
    virtual void CancelRead() = 0;
};

enum class HidAccess { Read, Write };

class HidTransport {
public:
    virtual ~HidTransport() = default;
    // The collections present, in the system's enumeration order; at most maxInterfaces
    // interfaces are examined.
    virtual std::vector<HidCollectionInfo> Enumerate(size_t maxInterfaces) = 0;
    // nullptr when the collection cannot be opened.
    virtual std::unique_ptr<HidHandle> Open(const HidCollectionInfo& collection, HidAccess access) = 0;
};

// The system's HID collections (Linux: hidapi over hidraw; Windows: SetupAPI and HidD).
std::unique_ptr<HidTransport> CreateSystemHidTransport();

}  // namespace orv
