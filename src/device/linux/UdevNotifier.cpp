#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstring>
#include <mutex>
#include <thread>

#include "device/DeviceNotifier.h"

namespace orv {

namespace {

// Watches the hidraw subsystem; the node path of an added or removed device is what discovery
// lists as the collection's path.
class UdevNotifier : public DeviceNotifier {
public:
    ~UdevNotifier() override { Stop(); }

    void Start(DeviceCallback callback) override {
        Stop();
        udev_ = udev_new();
        monitor_ = udev_ != nullptr ? udev_monitor_new_from_netlink(udev_, "udev") : nullptr;
        wake_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (monitor_ == nullptr || wake_ < 0 ||
            udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
            udev_monitor_enable_receiving(monitor_) < 0) {
            // Without device events the program still runs; it only misses a replug.
            Release();
            return;
        }
        thread_ = std::thread([this, cb = std::move(callback)] { Run(cb); });
    }

    void Stop() override {
        if (thread_.joinable()) {
            const uint64_t one = 1;
            [[maybe_unused]] const ssize_t written = write(wake_, &one, sizeof one);
            thread_.join();
        }
        Release();
    }

private:
    void Run(const DeviceCallback& callback) {
        const int fd = udev_monitor_get_fd(monitor_);
        for (;;) {
            pollfd fds[2] = {{fd, POLLIN, 0}, {wake_, POLLIN, 0}};
            if (poll(fds, 2, -1) < 0) {
                continue;
            }
            if (fds[1].revents != 0) {
                return;
            }
            udev_device* device = udev_monitor_receive_device(monitor_);
            if (device == nullptr) {
                continue;
            }
            const char* action = udev_device_get_action(device);
            const char* node = udev_device_get_devnode(device);
            if (action != nullptr && node != nullptr) {
                if (std::strcmp(action, "add") == 0) {
                    callback(DeviceChange::Arrival, node);
                } else if (std::strcmp(action, "remove") == 0) {
                    callback(DeviceChange::Removal, node);
                }
            }
            udev_device_unref(device);
        }
    }

    void Release() {
        if (monitor_ != nullptr) {
            udev_monitor_unref(monitor_);
            monitor_ = nullptr;
        }
        if (udev_ != nullptr) {
            udev_unref(udev_);
            udev_ = nullptr;
        }
        if (wake_ >= 0) {
            close(wake_);
            wake_ = -1;
        }
    }

    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    int wake_ = -1;
    std::thread thread_;
};

}  // namespace

std::unique_ptr<DeviceNotifier> CreateSystemDeviceNotifier() { return std::make_unique<UdevNotifier>(); }

}  // namespace orv
