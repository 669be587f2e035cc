#include "platform/PreciseSleep.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <ctime>

namespace orv {

namespace {

class SteadyClock : public Clock {
public:
    SteadyTime Now() override { return std::chrono::steady_clock::now(); }
};

// steady_clock is CLOCK_MONOTONIC with libstdc++ and libc++, so its time points are valid
// absolute deadlines for clock_nanosleep on the same clock.
class MonotonicSleeper : public Sleeper {
public:
    void SleepUntil(SteadyTime deadline) override {
        const timespec ts = Absolute(deadline);
        if (ts.tv_sec < 0) {
            return;
        }
        // A signal interrupts the sleep; the absolute deadline makes resuming exact.
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
        }
    }

    // A timer on the same clock with the same absolute deadline, waited for together with the
    // interrupt's eventfd: as precise as the plain sleep, and woken at once by a raise.
    bool InterruptibleSleepUntil(SteadyTime deadline, const SleepInterrupt& interrupt) override {
        if (interrupt.Raised()) {
            return false;
        }
        const timespec ts = Absolute(deadline);
        if (ts.tv_sec < 0) {
            return true;
        }
        const int timer = interrupt.Native() < 0 ? -1 : timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC);
        itimerspec when{};
        when.it_value = ts;
        if (timer < 0 || timerfd_settime(timer, TFD_TIMER_ABSTIME, &when, nullptr) != 0) {
            if (timer >= 0) {
                close(timer);
            }
            return SleepInSlices(deadline, interrupt);
        }
        pollfd waits[2] = {{timer, POLLIN, 0}, {static_cast<int>(interrupt.Native()), POLLIN, 0}};
        int ready = 0;
        while ((ready = poll(waits, 2, -1)) < 0 && errno == EINTR) {
        }
        close(timer);
        if (ready < 0) {
            return SleepInSlices(deadline, interrupt);
        }
        return !interrupt.Raised();
    }

private:
    static timespec Absolute(SteadyTime deadline) {
        const auto since = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline.time_since_epoch()).count();
        timespec ts{};
        if (since <= 0) {
            ts.tv_sec = -1;
            return ts;
        }
        ts.tv_sec = static_cast<time_t>(since / 1'000'000'000);
        ts.tv_nsec = static_cast<long>(since % 1'000'000'000);
        return ts;
    }

    // Only where the system refuses an eventfd, a timer or the wait.
    bool SleepInSlices(SteadyTime deadline, const SleepInterrupt& interrupt) {
        constexpr auto kSlice = std::chrono::milliseconds(2);
        for (SteadyTime now = std::chrono::steady_clock::now(); now < deadline;
             now = std::chrono::steady_clock::now()) {
            if (interrupt.Raised()) {
                return false;
            }
            SleepUntil(std::min(deadline, now + kSlice));
        }
        return !interrupt.Raised();
    }
};

}  // namespace

SleepInterrupt::SleepInterrupt() : native_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

SleepInterrupt::~SleepInterrupt() {
    if (native_ >= 0) {
        close(static_cast<int>(native_));
    }
}

// A write can only fail when the counter is already near its top, so non-zero: sleepers wake
// either way. A read fails when nothing was raised since the last clear.
void SleepInterrupt::Raise() {
    raised_.store(true, std::memory_order_release);
    const uint64_t one = 1;
    if (native_ >= 0) {
        [[maybe_unused]] const ssize_t written = write(static_cast<int>(native_), &one, sizeof one);
    }
}

void SleepInterrupt::Clear() {
    raised_.store(false, std::memory_order_release);
    uint64_t count = 0;
    if (native_ >= 0) {
        [[maybe_unused]] const ssize_t taken = read(static_cast<int>(native_), &count, sizeof count);
    }
}

Clock& SystemClock() {
    static SteadyClock clock;
    return clock;
}

std::unique_ptr<Sleeper> CreatePreciseSleeper() { return std::make_unique<MonotonicSleeper>(); }

}  // namespace orv
