#pragma once
#include "platform/PreciseSleep.h"

namespace orv {

// The system's requests that the process end: SIGTERM, SIGINT and SIGHUP on Linux (a signal the
// process was started ignoring, as nohup does, stays ignored); on Windows the console's control
// events (Ctrl+C, Ctrl+Break, closing the console, logoff, shutdown).
//
// While an EndRequests lives, such a request no longer ends the process on the spot: it is
// recorded and Raised() is raised, so the program ends through its own shutdown and lets go of
// what it holds on the mouse first. One lives at a time, for the program's main part.
class EndRequests {
public:
    EndRequests();
    // The system's own handling again. On Windows a console event that ends the process as soon
    // as its handler returns (closing the console, logoff, shutdown) has waited for this: the
    // program's shutdown has run by then.
    ~EndRequests();
    EndRequests(const EndRequests&) = delete;
    EndRequests& operator=(const EndRequests&) = delete;

    // Raised by the first request; waiters and event loops watch it (its Native() is readable
    // on Linux, signalled on Windows).
    const SleepInterrupt& Raised() const;
    bool Received() const { return Raised().Raised(); }
    // What a shell expects of a program such a request ended: 128 + the signal's number; on
    // Windows 130 for Ctrl+C and Ctrl+Break, 143 for the others. 0 while nothing was received.
    int ExitStatus() const;
};

}  // namespace orv
