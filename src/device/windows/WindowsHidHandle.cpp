#include "device/windows/WindowsHidHandle.h"

// After the Windows types; some SDKs' copies lack C linkage.
extern "C" {
#include <hidsdi.h>
}

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

namespace orv {

namespace {

class WindowsHidHandle : public HidHandle {
public:
    WindowsHidHandle(HANDLE handle, uint16_t reportLength) : handle_(handle), reportLength_(reportLength) {}

    ~WindowsHidHandle() override { CloseHandle(handle_); }

    WindowsHidHandle(const WindowsHidHandle&) = delete;
    WindowsHidHandle& operator=(const WindowsHidHandle&) = delete;

    // The class driver takes a feature report only at the collection's exact length.
    bool SendFeatureReport(std::span<const uint8_t> report) override {
        std::vector<uint8_t> buffer(reportLength_ != 0 ? reportLength_ : report.size(), 0);
        std::copy_n(report.begin(), std::min(report.size(), buffer.size()), buffer.begin());
        return HidD_SetFeature(handle_, buffer.data(), static_cast<ULONG>(buffer.size())) != FALSE;
    }

    // The handle is a synchronous one, so the read blocks in ReadFile; CancelRead breaks it.
    HidReadResult ReadInputReport(std::span<uint8_t> buffer) override {
        EnterRead();
        HidReadResult result = HidReadResult::Cancelled;
        if (!cancelPending_.exchange(false)) {
            const size_t length = reportLength_ != 0 ? std::min<size_t>(reportLength_, buffer.size()) : buffer.size();
            OVERLAPPED position{};
            DWORD read = 0;
            const BOOL ok = ReadFile(handle_, buffer.data(), static_cast<DWORD>(length), &read, &position);
            if (cancelPending_.exchange(false)) {
                result = HidReadResult::Cancelled;
            } else {
                result = ok ? HidReadResult::Ok : HidReadResult::Failed;
            }
        }
        LeaveRead();
        return result;
    }

    // A cancel that finds no read stays pending for the next one. One that lands between the
    // reader's check and its ReadFile would be lost, so it is repeated until the reader has
    // taken it (bounded, in case the driver never lets go).
    void CancelRead() override {
        cancelPending_.store(true);
        for (int attempt = 0; attempt < 5000 && cancelPending_.load(); ++attempt) {
            {
                std::lock_guard lock(readerMutex_);
                if (reader_ == nullptr) {
                    return;
                }
                CancelIoEx(handle_, nullptr);
                CancelSynchronousIo(reader_);
            }
            Sleep(1);
        }
    }

private:
    // The reader's thread handle is only used under the lock, so it is never cancelled after
    // the reader has closed it.
    void EnterRead() {
        HANDLE self = nullptr;
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
        std::lock_guard lock(readerMutex_);
        reader_ = self;
    }

    void LeaveRead() {
        std::lock_guard lock(readerMutex_);
        if (reader_ != nullptr) {
            CloseHandle(reader_);
            reader_ = nullptr;
        }
    }

    HANDLE handle_;
    uint16_t reportLength_;
    std::atomic<bool> cancelPending_{false};
    std::mutex readerMutex_;
    HANDLE reader_ = nullptr;
};

}  // namespace

std::unique_ptr<HidHandle> WrapHidHandle(HANDLE handle, uint16_t reportLength) {
    return std::make_unique<WindowsHidHandle>(handle, reportLength);
}

}  // namespace orv
