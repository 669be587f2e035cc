#include <fcntl.h>
#include <hidapi/hidapi.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "device/HidTransport.h"
#include "device/ReportDescriptor.h"

namespace orv {

namespace {

// Both vendor collections of the mouse live behind one hidraw node; hidapi lists the node once
// per top-level collection, and its lengths come from the node's report descriptor.
class HidapiTransport : public HidTransport {
public:
    HidapiTransport() { hid_init(); }

    std::vector<HidCollectionInfo> Enumerate(size_t maxInterfaces) override;
    std::unique_ptr<HidHandle> Open(const HidCollectionInfo& collection, HidAccess access) override;
};

class HidapiHandle : public HidHandle {
public:
    explicit HidapiHandle(hid_device* device) : device_(device) {}
    ~HidapiHandle() override { hid_close(device_); }

    bool SendFeatureReport(std::span<const uint8_t> report) override {
        return hid_send_feature_report(device_, report.data(), report.size()) == static_cast<int>(report.size());
    }

    HidReadResult ReadInputReport(std::span<uint8_t> buffer) override {
        // hidapi offers no way to interrupt a blocked read, so the read waits in short slices
        // and looks for a cancel between them.
        for (;;) {
            if (cancelPending_.exchange(false)) {
                return HidReadResult::Cancelled;
            }
            const int n = hid_read_timeout(device_, buffer.data(), buffer.size(), kSliceMs);
            if (n > 0) {
                return HidReadResult::Ok;
            }
            if (n < 0) {
                return HidReadResult::Failed;
            }
        }
    }

    void CancelRead() override { cancelPending_.store(true); }

private:
    static constexpr int kSliceMs = 50;
    hid_device* device_;
    std::atomic<bool> cancelPending_{false};
};

std::vector<uint8_t> ReadDescriptor(const std::string& devnode) {
    const std::filesystem::path node(devnode);
    const std::filesystem::path sysfs =
        std::filesystem::path("/sys/class/hidraw") / node.filename() / "device" / "report_descriptor";
    std::ifstream in(sysfs, std::ios::binary);
    if (in) {
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Without sysfs the node itself can tell, if this user may open it.
    const int fd = open(devnode.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    std::vector<uint8_t> bytes;
    int size = 0;
    hidraw_report_descriptor descriptor{};
    if (ioctl(fd, HIDIOCGRDESCSIZE, &size) == 0 && size > 0 && size <= HID_MAX_DESCRIPTOR_SIZE) {
        descriptor.size = static_cast<uint32_t>(size);
        if (ioctl(fd, HIDIOCGRDESC, &descriptor) == 0) {
            bytes.assign(descriptor.value, descriptor.value + size);
        }
    }
    close(fd);
    return bytes;
}

bool AccessDenied(const std::string& devnode) {
    return access(devnode.c_str(), R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM);
}

std::vector<HidCollectionInfo> HidapiTransport::Enumerate(size_t maxInterfaces) {
    std::vector<HidCollectionInfo> list;
    std::map<std::string, std::vector<HidCaps>> descriptors;
    hid_device_info* all = hid_enumerate(0, 0);
    for (const hid_device_info* d = all; d != nullptr && list.size() < maxInterfaces; d = d->next) {
        HidCollectionInfo info;
        info.path = d->path != nullptr ? d->path : "";
        info.vendorId = d->vendor_id;
        info.productId = d->product_id;
        info.caps.usagePage = d->usage_page;
        info.caps.usage = d->usage;
        auto [it, inserted] = descriptors.try_emplace(info.path);
        if (inserted) {
            it->second = ParseReportDescriptor(ReadDescriptor(info.path));
        }
        for (const HidCaps& c : it->second) {
            if (c.usagePage == info.caps.usagePage && c.usage == info.caps.usage) {
                info.caps = c;
                break;
            }
        }
        info.accessDenied = AccessDenied(info.path);
        list.push_back(std::move(info));
    }
    hid_free_enumeration(all);
    return list;
}

std::unique_ptr<HidHandle> HidapiTransport::Open(const HidCollectionInfo& collection, HidAccess) {
    // hidraw has no read-only or write-only open: each collection gets its own descriptor of
    // the one node.
    hid_device* device = hid_open_path(collection.path.c_str());
    if (device == nullptr) {
        return nullptr;
    }
    return std::make_unique<HidapiHandle>(device);
}

}  // namespace

std::unique_ptr<HidTransport> CreateSystemHidTransport() { return std::make_unique<HidapiTransport>(); }

}  // namespace orv
