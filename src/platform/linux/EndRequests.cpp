#include "platform/EndRequests.h"

#include <signal.h>

#include <array>
#include <atomic>

namespace orv {

namespace {

constexpr std::array kEndSignals{SIGTERM, SIGINT, SIGHUP};

// A signal may arrive on any thread at any moment, also while an EndRequests is being destroyed,
// so what the handler touches lives for the whole process.
struct EndState {
    SleepInterrupt raised;
    std::atomic<int> signal{0};
    std::array<struct sigaction, kEndSignals.size()> previous{};
    std::array<bool, kEndSignals.size()> caught{};
};

EndState& State() {
    static EndState* const state = new EndState();
    return *state;
}

// Only async-signal-safe steps: a lock-free store and the eventfd write of the raise.
void OnEndSignal(int number) {
    EndState& state = State();
    int none = 0;
    state.signal.compare_exchange_strong(none, number);
    state.raised.Raise();
}

}  // namespace

EndRequests::EndRequests() {
    EndState& state = State();
    state.signal.store(0);
    state.raised.Clear();
    for (size_t i = 0; i < kEndSignals.size(); ++i) {
        struct sigaction action {};
        action.sa_handler = &OnEndSignal;
        sigemptyset(&action.sa_mask);
        // Calls the signal lands in go on; the program looks at the request from its own loop.
        action.sa_flags = SA_RESTART;
        struct sigaction& previous = state.previous[i];
        state.caught[i] = sigaction(kEndSignals[i], nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN &&
                          sigaction(kEndSignals[i], &action, nullptr) == 0;
    }
}

EndRequests::~EndRequests() {
    EndState& state = State();
    for (size_t i = 0; i < kEndSignals.size(); ++i) {
        if (state.caught[i]) {
            sigaction(kEndSignals[i], &state.previous[i], nullptr);
            state.caught[i] = false;
        }
    }
}

const SleepInterrupt& EndRequests::Raised() const { return State().raised; }

int EndRequests::ExitStatus() const {
    const int number = State().signal.load();
    return number == 0 ? 0 : 128 + number;
}

}  // namespace orv
