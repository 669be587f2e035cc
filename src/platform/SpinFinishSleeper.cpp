#include "platform/SpinFinishSleeper.h"

#include <utility>

namespace orv {

SpinFinishSleeper::SpinFinishSleeper(std::unique_ptr<Sleeper> inner, Clock& clock,
                                     std::chrono::steady_clock::duration spin)
    : inner_(std::move(inner)), clock_(clock), spin_(spin) {}

// The inner sleeper may also wake early (a timer of another clock source); the loop then
// sleeps again rather than spin for longer than the spin.
void SpinFinishSleeper::SleepUntil(SteadyTime deadline) {
    for (;;) {
        const SteadyTime now = clock_.Now();
        if (now >= deadline) {
            return;
        }
        if (deadline - now > spin_) {
            inner_->SleepUntil(deadline - spin_);
            continue;
        }
        if (Spin(deadline, nullptr) != SpinEnd::Reached) {
            inner_->SleepUntil(deadline);
        }
        return;
    }
}

bool SpinFinishSleeper::InterruptibleSleepUntil(SteadyTime deadline, const SleepInterrupt& interrupt) {
    for (;;) {
        if (interrupt.Raised()) {
            return false;
        }
        const SteadyTime now = clock_.Now();
        if (now >= deadline) {
            return true;
        }
        if (deadline - now > spin_) {
            if (!inner_->InterruptibleSleepUntil(deadline - spin_, interrupt)) {
                return false;
            }
            continue;
        }
        switch (Spin(deadline, &interrupt)) {
        case SpinEnd::Reached:
            return true;
        case SpinEnd::Interrupted:
            return false;
        case SpinEnd::GaveUp:
            return inner_->InterruptibleSleepUntil(deadline, interrupt);
        }
    }
}

SpinFinishSleeper::SpinEnd SpinFinishSleeper::Spin(SteadyTime deadline, const SleepInterrupt* interrupt) {
    for (long poll = 0; poll < kMaxPolls; ++poll) {
        if (interrupt != nullptr && interrupt->Raised()) {
            return SpinEnd::Interrupted;
        }
        if (clock_.Now() >= deadline) {
            return SpinEnd::Reached;
        }
    }
    return SpinEnd::GaveUp;
}

}  // namespace orv
