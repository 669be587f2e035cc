#include "macro/MacroPlayback.h"

#include <algorithm>

#include "device/FeatureReport.h"
#include "device/InputListener.h"
#include "platform/Launcher.h"
#include "platform/ThreadPriority.h"
#include "platform/TimerSlack.h"
#include "settings/ApplyProfile.h"
#include "settings/ConfigFile.h"
#include "settings/ProfileSettings.h"

namespace orv {

namespace {

constexpr std::array<uint16_t, 10> kConsumerUsages{0x0223, 0x0183, 0x018A, 0x00E9, 0x00EA,
                                                   0x00B6, 0x00B5, 0x00E2, 0x00CD, 0x0192};
constexpr uint8_t kMouseButtonBits = 0x07;
constexpr uint8_t kFirstMouseCode = 0xF0;
// Idle waits end on the listener's event; the timeout is only a safety net.
constexpr auto kIdleWaitLimit = std::chrono::seconds(3600);

}  // namespace

uint16_t ConsumerUsageForFunction(int index) {
    return index >= 0 && index < static_cast<int>(kConsumerUsages.size()) ? kConsumerUsages[index] : 0;
}

void MacroPlayer::ServeTrigger(uint8_t triggerCode) {
    for (size_t i = 0; i < DeviceButtonCode.size(); ++i) {
        if (static_cast<uint8_t>(kButtonEventBase + DeviceButtonCode[i]) == triggerCode) {
            ServeButton(i);
        }
    }
}

void MacroPlayer::ServeButton(size_t i) {
    // A level the mouse cannot have (a faulty device, a garbled report) would be saved and
    // drawn as the current one; it is ignored.
    const uint8_t reportedLevel = c_.flags.InputBuffer[2].load();
    if (c_.applied.DpiReportFlag[i] == 1 && reportedLevel < c_.settings.dpiStep.size()) {
        c_.settings.dpiLevel = static_cast<int32_t>(reportedLevel);
        if (c_.repaint) {
            c_.repaint();
        }
        Saved(SaveDpiLevel(c_.configPath, c_.currentProfile, c_.settings));
    }
    if (c_.applied.RateCycleFlag[i] == 1) {
        c_.settings.reportRate = static_cast<uint8_t>((c_.settings.reportRate + 1) % 4);
        if (c_.repaint) {
            c_.repaint();
        }
        Saved(SaveReportRate(c_.configPath, c_.currentProfile, c_.settings));
    }
    const FunctionCodeInfo& function = DescribeFunctionCode(c_.settings.buttonFunction[i]);
    switch (function.action) {
    case UtilityAction::UserMacro: {
        const MacroSlot& slot = c_.store.User(function.index);
        PlayMacro(slot, PassCount(c_.store.CopyOf(slot), true));
        break;
    }
    case UtilityAction::ConstantMacro: {
        const MacroSlot& slot = c_.store.Constant(function.index);
        PlayMacro(slot, PassCount(c_.store.CopyOf(slot), false));
        break;
    }
    case UtilityAction::ConsumerUsage:
        WaitForPause(false);
        c_.reports.SendConsumerUsage(ConsumerUsageForFunction(function.index));
        MarkSent();
        break;
    case UtilityAction::LaunchCalculator:
        c_.launcher.Launch(Program::Calculator);
        break;
    case UtilityAction::LaunchCommandPrompt:
        c_.launcher.Launch(Program::CommandPrompt);
        break;
    case UtilityAction::None:
        break;
    }
}

void MacroPlayer::Saved(WriteResult saved) const {
    if (!saved && c_.notSaved) {
        c_.notSaved(saved);
    }
}

int MacroPlayer::PassCount(const MacroSlot& slot, bool userMacro) const {
    if (!userMacro) {
        return 1;
    }
    if (c_.settings.macroMode != 0) {
        return kHoldPasses;
    }
    return slot.repeatOn() != 0 ? slot.repeatCount() : 1;
}

void MacroPlayer::PlayMacro(const MacroSlot& played, int passes) {
    // A macro's first pause (the release of an empty macro) counts from its start.
    lastSent_ = c_.clock.Now();
    pending_ = std::chrono::milliseconds(0);
    for (int pass = 0; pass < passes; ++pass) {
        // Each pass plays the slot as it stands when the pass begins; an edit made meanwhile
        // reaches the next pass whole.
        const MacroSlot slot = c_.store.CopyOf(played);
        const size_t events = slot.eventCount();
        for (size_t k = 0; k < events; ++k) {
            if (!WaitForPause(true)) {
                pending_ = std::chrono::milliseconds(0);
                break;
            }
            SendMacroEvent(slot.EventKey(k), slot.EventAction(k));
            pending_ =
                std::max<std::chrono::milliseconds>(std::chrono::milliseconds(slot.Delay(k)), kMinimumEventPause);
        }
        ReleaseMacroKeys();
        if (c_.flags.StopRequest.load(std::memory_order_acquire) == 1 || Aborted()) {
            break;
        }
    }
}

void MacroPlayer::SendMacroEvent(uint8_t key, uint8_t action) {
    if (key < kFirstMouseCode) {
        if (action == MacroSlot::kPress) {
            const auto free = std::find(heldKeys_.begin(), heldKeys_.end(), uint8_t{0});
            if (free != heldKeys_.end()) {
                *free = key;
            }
        } else if (action == MacroSlot::kRelease) {
            const auto held = std::find(heldKeys_.begin(), heldKeys_.end(), key);
            if (held != heldKeys_.end()) {
                std::copy(held + 1, heldKeys_.end(), held);
            }
            heldKeys_[5] = 0;
        }
        WaitForPause(false);
        c_.reports.SendHeldKeys(heldKeys_);
        MarkSent();
        return;
    }
    const int bit = key - kFirstMouseCode;
    if (bit <= 2 && action == MacroSlot::kPress) {
        mouseButtonMask_ = static_cast<uint8_t>(mouseButtonMask_ & ~(1u << bit));
    } else if (bit <= 2 && action == MacroSlot::kRelease) {
        mouseButtonMask_ = static_cast<uint8_t>(mouseButtonMask_ | (1u << bit));
    }
    WaitForPause(false);
    c_.reports.SendMouseButtons(mouseButtonMask_);
    MarkSent();
}

void MacroPlayer::ReleaseMacroKeys() {
    // The pause of a pass's last event comes first and may be long; an abort cuts it, and the
    // releases then keep their own pause.
    pending_ += kReleasePause;
    if (!WaitForPause(true)) {
        lastSent_ = c_.clock.Now();
        pending_ = kReleasePause;
        WaitForPause(false);
    }
    mouseButtonMask_ |= kMouseButtonBits;
    c_.reports.SendMouseButtons(mouseButtonMask_);
    MarkSent();
    pending_ = kReleasePause;
    heldKeys_.fill(0);
    WaitForPause(false);
    c_.reports.SendHeldKeys(heldKeys_);
    MarkSent();
}

bool MacroPlayer::WaitForPause(bool interruptible) {
    if (interruptible && Aborted()) {
        return false;
    }
    if (pending_.count() <= 0) {
        return true;
    }
    const SteadyTime deadline = lastSent_ + pending_;
    if (interruptible && abort_ != nullptr) {
        if (!c_.sleeper.InterruptibleSleepUntil(deadline, *abort_)) {
            return false;
        }
    } else {
        c_.sleeper.SleepUntil(deadline);
    }
    pending_ = std::chrono::milliseconds(0);
    return true;
}

void MacroPlayer::MarkSent() {
    lastSent_ = c_.clock.Now();
    pending_ = std::chrono::milliseconds(0);
}

MacroPlaybackThread::MacroPlaybackThread(const PlaybackContext& context) : player_(context), flags_(context.flags) {
    player_.SetAbort(&stop_);
}

MacroPlaybackThread::~MacroPlaybackThread() { Stop(); }

void MacroPlaybackThread::Start() {
    if (!thread_.joinable()) {
        stop_.Clear();
        thread_ = std::thread([this] { Run(); });
    }
}

void MacroPlaybackThread::Stop() {
    stop_.Raise();
    flags_.event.Signal();
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool MacroPlaybackThread::Idle() const { return flags_.PlaybackActive.load(std::memory_order_acquire) == 0; }

void MacroPlaybackThread::Run() {
    RaiseCurrentThreadPriority();
    UseFinestTimerSlack();
    while (!stop_.Raised()) {
        // Taken before the flags are looked at, so a change signalled after the look still
        // ends the wait below.
        const uint64_t seen = flags_.event.Sequence();
        if (flags_.PlaybackActive.load(std::memory_order_acquire) != 0) {
            player_.ServeTrigger(flags_.TriggerCode.load(std::memory_order_relaxed));
            flags_.PlaybackActive.store(0, std::memory_order_release);
            flags_.StopRequest.store(0, std::memory_order_release);
            continue;
        }
        // A stop request raised while nothing plays (a hold-mode release) is dropped at once.
        flags_.StopRequest.store(0, std::memory_order_release);
        flags_.event.WaitForChange(seen, std::chrono::steady_clock::now() + kIdleWaitLimit);
    }
}

}  // namespace orv
