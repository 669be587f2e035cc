#include "platform/EndRequests.h"

#include <windows.h>

#include <atomic>

namespace orv {

namespace {

// What a shell reports for a program ended by Ctrl+C (SIGINT) and by a request to terminate
// (SIGTERM).
constexpr int kInterruptedStatus = 128 + 2;
constexpr int kTerminatedStatus = 128 + 15;
// Closing the console, logoff and shutdown end the process once the handler returns; the system
// gives a handler about five seconds before it ends the process regardless.
constexpr DWORD kShutdownWaitMs = 4500;

// The handler runs on a thread of its own that the system starts, possibly while an EndRequests
// is being destroyed, so what it touches lives for the whole process.
struct EndState {
    SleepInterrupt raised;
    std::atomic<int> status{0};
    std::atomic<bool> live{false};
    HANDLE finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
};

EndState& State() {
    static EndState* const state = new EndState();
    return *state;
}

BOOL WINAPI OnConsoleEvent(DWORD type) {
    EndState& state = State();
    if (!state.live.load()) {
        return FALSE;
    }
    const bool interrupt = type == CTRL_C_EVENT || type == CTRL_BREAK_EVENT;
    int none = 0;
    state.status.compare_exchange_strong(none, interrupt ? kInterruptedStatus : kTerminatedStatus);
    state.raised.Raise();
    if (!interrupt && state.finished != nullptr) {
        WaitForSingleObject(state.finished, kShutdownWaitMs);
    }
    return TRUE;
}

}  // namespace

EndRequests::EndRequests() {
    EndState& state = State();
    state.status.store(0);
    state.raised.Clear();
    if (state.finished != nullptr) {
        ResetEvent(state.finished);
    }
    state.live.store(true);
    SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

EndRequests::~EndRequests() {
    EndState& state = State();
    state.live.store(false);
    if (state.finished != nullptr) {
        SetEvent(state.finished);
    }
    SetConsoleCtrlHandler(&OnConsoleEvent, FALSE);
}

const SleepInterrupt& EndRequests::Raised() const { return State().raised; }

int EndRequests::ExitStatus() const { return State().status.load(); }

}  // namespace orv
