#include "device/DeviceLink.h"

#include <algorithm>
#include <utility>

namespace orv {

DeviceLink::DeviceLink(HidTransport& transport) : transport_(transport) {}

DeviceLink::~DeviceLink() {
    std::lock_guard lock(mutex_);
    CloseHandlesLocked();
}

bool DeviceLink::FindDevice() {
    {
        std::lock_guard lock(mutex_);
        CloseHandlesLocked();
        accessDenied_ = false;
    }

    std::vector<HidCollectionInfo> collections = transport_.Enumerate(kMaxInterfaces);
    if (collections.size() > kMaxInterfaces) {
        collections.resize(kMaxInterfaces);
    }

    bool present = false;
    bool denied = false;
    std::string path;
    Slot read;
    Slot write;
    for (const HidCollectionInfo& c : collections) {
        // Every interface examined decides anew, so the result is that of the interface the
        // loop ended on.
        present = false;
        if (!IsOurs(c)) {
            continue;
        }
        present = true;
        path = c.path;
        if (c.caps.usagePage == kReadUsagePage && c.caps.usage == kVendorUsage) {
            read = OpenSlot(c, HidAccess::Read);
            denied = denied || (read.state == HandleState::Invalid && c.accessDenied);
        }
        if (c.caps.usagePage == kWriteUsagePage && c.caps.usage == kVendorUsage) {
            write = OpenSlot(c, HidAccess::Write);
            denied = denied || (write.state == HandleState::Invalid && c.accessDenied);
        }
        if (read.state != HandleState::None && write.state != HandleState::None) {
            break;
        }
    }

    std::lock_guard lock(mutex_);
    if (!path.empty()) {
        devicePath_ = std::move(path);
    }
    devicePresent_ = present;
    accessDenied_ = denied;
    read_ = std::move(read);
    write_ = std::move(write);
    return devicePresent_;
}

bool DeviceLink::IsOurs(const HidCollectionInfo& collection) {
    return collection.vendorId == VendorId && collection.productId == ProductId;
}

bool DeviceLink::IsOurInterface(std::string_view interfacePath) const {
    std::lock_guard lock(mutex_);
    return !devicePath_.empty() && SamePathIgnoringCase(interfacePath, devicePath_);
}

void DeviceLink::HandleDeviceChange(DeviceChange change, std::string_view interfacePath) {
    if (!IsOurInterface(interfacePath)) {
        return;
    }
    if (change == DeviceChange::Arrival) {
        if (!DevicePresent()) {
            FindDevice();
        }
        return;
    }
    std::function<void()> exitDriver;
    {
        std::lock_guard lock(mutex_);
        devicePresent_ = false;
        exitDriver = exitDriver_;
    }
    if (exitDriver) {
        exitDriver();
    }
}

void DeviceLink::SetExitDriver(std::function<void()> exitDriver) {
    std::lock_guard lock(mutex_);
    exitDriver_ = std::move(exitDriver);
}

std::string DeviceLink::DevicePath() const {
    std::lock_guard lock(mutex_);
    return devicePath_;
}

bool DeviceLink::DevicePresent() const {
    std::lock_guard lock(mutex_);
    return devicePresent_;
}

HidCaps DeviceLink::ReadCaps() const {
    std::lock_guard lock(mutex_);
    return read_.caps;
}

HidCaps DeviceLink::WriteCaps() const {
    std::lock_guard lock(mutex_);
    return write_.caps;
}

HandleState DeviceLink::ReadHandleState() const {
    std::lock_guard lock(mutex_);
    return read_.state;
}

HandleState DeviceLink::WriteHandleState() const {
    std::lock_guard lock(mutex_);
    return write_.state;
}

bool DeviceLink::AccessDenied() const {
    std::lock_guard lock(mutex_);
    return accessDenied_;
}

bool DeviceLink::SendFeatureReport(std::span<const uint8_t> report) {
    std::shared_ptr<HidHandle> handle;
    {
        std::lock_guard lock(mutex_);
        handle = write_.handle;
    }
    return handle && !report.empty() && handle->SendFeatureReport(report);
}

HidReadResult DeviceLink::ReadInputReport(std::span<uint8_t> buffer) {
    std::shared_ptr<HidHandle> handle;
    size_t length = 0;
    {
        std::lock_guard lock(mutex_);
        handle = read_.handle;
        length = std::min<size_t>(buffer.size(), read_.caps.inputReportLength);
    }
    if (!handle || length == 0) {
        return HidReadResult::Failed;
    }
    return handle->ReadInputReport(buffer.first(length));
}

void DeviceLink::CancelRead() {
    std::shared_ptr<HidHandle> handle;
    {
        std::lock_guard lock(mutex_);
        handle = read_.handle;
    }
    if (handle) {
        handle->CancelRead();
    }
}

void DeviceLink::CloseHandlesLocked() {
    // A listener blocked on the old read handle must let go of it, or the handle would stay
    // open behind our back.
    if (read_.handle) {
        read_.handle->CancelRead();
    }
    read_ = Slot{};
    write_ = Slot{};
}

DeviceLink::Slot DeviceLink::OpenSlot(const HidCollectionInfo& collection, HidAccess access) {
    Slot slot;
    slot.handle = transport_.Open(collection, access);
    slot.state = slot.handle ? HandleState::Open : HandleState::Invalid;
    slot.caps = collection.caps;
    return slot;
}

bool SamePathIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char ch) { return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace orv
