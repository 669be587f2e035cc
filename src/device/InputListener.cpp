#include "device/InputListener.h"

#include <algorithm>

#include "device/DeviceLink.h"
#include "platform/ThreadPriority.h"

namespace orv {

bool HandleInputReport(std::span<const uint8_t> report, int32_t macroMode, PlaybackFlags& flags) {
    if (report.size() < 3 || report[0] != kInputReportId) {
        return false;
    }
    const uint8_t code = report[1];
    const bool playing = flags.PlaybackActive.load(std::memory_order_acquire) != 0;
    // While a press waits to be served, the reports after it (its own release, above all) must
    // not replace the level it carries, or playback would store 0x80 as the DPI level.
    if (!playing) {
        for (size_t i = 0; i < report.size() && i < flags.InputBuffer.size(); ++i) {
            flags.InputBuffer[i] = report[i];
        }
    }
    const auto requestStop = [&] {
        flags.StopRequest.store(1, std::memory_order_release);
        return true;
    };
    if (code <= kButtonEventBase) {
        return playing ? requestStop() : false;
    }
    if (report[2] == kReleaseMarker) {
        return macroMode != 0 ? requestStop() : false;
    }
    if (!playing) {
        flags.TriggerCode.store(code, std::memory_order_relaxed);
        flags.PlaybackActive.store(1, std::memory_order_release);
        return true;
    }
    return macroMode == 0 ? requestStop() : false;
}

uint64_t ListenerEvent::Sequence() const {
    std::lock_guard lock(mutex_);
    return sequence_;
}

uint64_t ListenerEvent::WaitForChange(uint64_t seen, std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    changed_.wait_until(lock, deadline, [&] { return sequence_ != seen; });
    return sequence_;
}

void ListenerEvent::Signal() {
    {
        std::lock_guard lock(mutex_);
        ++sequence_;
    }
    changed_.notify_all();
}

void PlaybackFlags::Reset() {
    PlaybackActive.store(0);
    TriggerCode.store(0);
    StopRequest.store(0);
}

InputListenerThread::InputListenerThread(DeviceLink& link, const Relaxed<int32_t>& macroMode, PlaybackFlags& flags)
    : link_(link), macroMode_(macroMode), flags_(flags) {}

InputListenerThread::~InputListenerThread() { Stop(); }

void InputListenerThread::Start() {
    if (thread_.joinable()) {
        return;
    }
    stop_.store(false);
    thread_ = std::thread([this] { Run(); });
}

void InputListenerThread::Stop() {
    if (!thread_.joinable()) {
        return;
    }
    stop_.store(true);
    // The cancel is remembered by the handle when no read is blocked yet, and a read that
    // starts after it returns at once, so one cancel is enough.
    link_.CancelRead();
    thread_.join();
}

void InputListenerThread::Run() {
    RaiseCurrentThreadPriority();
    std::array<uint8_t, 256> buffer{};
    while (!stop_.load()) {
        const HidReadResult result = link_.ReadInputReport(buffer);
        if (stop_.load()) {
            break;
        }
        const size_t length = std::min<size_t>(link_.ReadCaps().inputReportLength, buffer.size());
        if (result == HidReadResult::Ok &&
            HandleInputReport(std::span<const uint8_t>(buffer.data(), length), macroMode_, flags_)) {
            flags_.event.Signal();
        }
        // Only a failed read waits: after a report the next one is awaited at once, so a release
        // or a second press reaches StopRequest without delay.
        if (result != HidReadResult::Ok) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
}

}  // namespace orv
