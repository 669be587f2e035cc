#include "platform/PreciseSleep.h"

#include <windows.h>
#include <timeapi.h>

#include <algorithm>

namespace orv {

namespace {

// Not in every SDK's headers yet (Windows 10 1803 and later).
constexpr DWORD kHighResolutionTimer = 0x00000002;

class SteadyClock : public Clock {
public:
    SteadyTime Now() override { return std::chrono::steady_clock::now(); }
};

void OptOutOfTimerThrottling();

// Safe for several threads at once (the command line's script and the playback thread share
// one): every sleep waits on a timer of its own, as one timer re-armed by a second thread would
// leave the first waiting for good.
class WaitableTimerSleeper : public Sleeper {
public:
    WaitableTimerSleeper() {
        OptOutOfTimerThrottling();
        HANDLE probe = CreateWaitableTimerExW(nullptr, nullptr, kHighResolutionTimer, TIMER_ALL_ACCESS);
        if (probe != nullptr) {
            CloseHandle(probe);
            timerFlags_ = kHighResolutionTimer;
        } else {
            // Older systems refuse the flag: raise the tick rate so a plain timer is as fine.
            periodRaised_ = timeBeginPeriod(1) == TIMERR_NOERROR;
        }
    }

    ~WaitableTimerSleeper() override {
        if (periodRaised_) {
            timeEndPeriod(1);
        }
    }

    WaitableTimerSleeper(const WaitableTimerSleeper&) = delete;
    WaitableTimerSleeper& operator=(const WaitableTimerSleeper&) = delete;

    // A timer may fire a little before the steady clock reaches the deadline (they tick from
    // different sources), so the clock decides, and any remainder is slept again.
    void SleepUntil(SteadyTime deadline) override {
        HANDLE timer = nullptr;
        for (;;) {
            const auto remaining = deadline - std::chrono::steady_clock::now();
            if (remaining <= std::chrono::steady_clock::duration::zero()) {
                break;
            }
            if (timer == nullptr) {
                timer = CreateWaitableTimerExW(nullptr, nullptr, timerFlags_, TIMER_ALL_ACCESS);
            }
            const auto ticks =
                std::chrono::ceil<std::chrono::duration<long long, std::ratio<1, 10'000'000>>>(remaining);
            if (!WaitFor(timer, ticks.count())) {
                const auto ms = std::chrono::ceil<std::chrono::milliseconds>(remaining);
                Sleep(static_cast<DWORD>(ms.count()));
            }
        }
        if (timer != nullptr) {
            CloseHandle(timer);
        }
    }

    // The same timer waited for together with the interrupt's event.
    bool InterruptibleSleepUntil(SteadyTime deadline, const SleepInterrupt& interrupt) override {
        HANDLE timer = nullptr;
        HANDLE event = reinterpret_cast<HANDLE>(interrupt.Native());
        bool interrupted = false;
        while (!(interrupted = interrupt.Raised())) {
            const auto remaining = deadline - std::chrono::steady_clock::now();
            if (remaining <= std::chrono::steady_clock::duration::zero()) {
                break;
            }
            if (timer == nullptr) {
                timer = CreateWaitableTimerExW(nullptr, nullptr, timerFlags_, TIMER_ALL_ACCESS);
            }
            const auto ticks =
                std::chrono::ceil<std::chrono::duration<long long, std::ratio<1, 10'000'000>>>(remaining);
            if (event == nullptr || !WaitFor(timer, ticks.count(), event)) {
                // Without a timer or an event the wait goes in slices short enough to see a raise.
                const auto ms = std::min<long long>(std::chrono::ceil<std::chrono::milliseconds>(remaining).count(), 2);
                Sleep(static_cast<DWORD>(ms));
            }
        }
        if (timer != nullptr) {
            CloseHandle(timer);
        }
        return !interrupted;
    }

private:
    // False when no wait took place; a wait the event ended counts as one.
    static bool WaitFor(HANDLE timer, long long hundredNanoseconds, HANDLE event = nullptr) {
        if (timer == nullptr) {
            return false;
        }
        LARGE_INTEGER due;
        due.QuadPart = -hundredNanoseconds;  // negative: relative to now
        if (!SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE)) {
            return false;
        }
        if (event == nullptr) {
            return WaitForSingleObject(timer, INFINITE) == WAIT_OBJECT_0;
        }
        const HANDLE handles[2] = {timer, event};
        const DWORD woke = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        return woke == WAIT_OBJECT_0 || woke == WAIT_OBJECT_0 + 1;
    }

    DWORD timerFlags_ = 0;
    bool periodRaised_ = false;
};

// Windows 11 may coarsen the timers of a process it deems in the background; macro timing must
// not depend on whether the window is visible. Looked up at run time: older systems lack it.
void OptOutOfTimerThrottling() {
    using SetInformation = BOOL(WINAPI*)(HANDLE, PROCESS_INFORMATION_CLASS, LPVOID, DWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (kernel == nullptr) {
        return;
    }
    const auto set =
        reinterpret_cast<SetInformation>(reinterpret_cast<void*>(GetProcAddress(kernel, "SetProcessInformation")));
    if (set == nullptr) {
        return;
    }
    PROCESS_POWER_THROTTLING_STATE state{};
    state.Version = PROCESS_POWER_THROTTLING_CURRENT_VERSION;
    state.ControlMask = PROCESS_POWER_THROTTLING_EXECUTION_SPEED | PROCESS_POWER_THROTTLING_IGNORE_TIMER_RESOLUTION;
    state.StateMask = 0;
    set(GetCurrentProcess(), ProcessPowerThrottling, &state, sizeof(state));
}

}  // namespace

SleepInterrupt::SleepInterrupt()
    : native_(reinterpret_cast<std::intptr_t>(CreateEventW(nullptr, TRUE, FALSE, nullptr))) {}

SleepInterrupt::~SleepInterrupt() {
    if (native_ != 0) {
        CloseHandle(reinterpret_cast<HANDLE>(native_));
    }
}

void SleepInterrupt::Raise() {
    raised_.store(true, std::memory_order_release);
    if (native_ != 0) {
        SetEvent(reinterpret_cast<HANDLE>(native_));
    }
}

void SleepInterrupt::Clear() {
    raised_.store(false, std::memory_order_release);
    if (native_ != 0) {
        ResetEvent(reinterpret_cast<HANDLE>(native_));
    }
}

Clock& SystemClock() {
    static SteadyClock clock;
    return clock;
}

std::unique_ptr<Sleeper> CreatePreciseSleeper() { return std::make_unique<WaitableTimerSleeper>(); }

}  // namespace orv
