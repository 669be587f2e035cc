#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>

#include "platform/EndRequests.h"

namespace orv {
namespace {

bool Readable(std::intptr_t fd) {
    pollfd wait{static_cast<int>(fd), POLLIN, 0};
    return ::poll(&wait, 1, 0) == 1;
}

bool HandledBySystem(int number, void (*handler)(int)) {
    struct sigaction now {};
    return sigaction(number, nullptr, &now) == 0 && now.sa_handler == handler;
}

// A terminate signal becomes a request the program answers from its own loop; a signal the
// process was started ignoring (nohup) stays ignored, and the system's handling comes back.
TEST(EndRequests, SignalIsRecordedAndIgnoredSignalsStayIgnored) {
    signal(SIGHUP, SIG_IGN);
    {
        const EndRequests ends;
        EXPECT_FALSE(Readable(ends.Raised().Native()));
        raise(SIGHUP);
        EXPECT_FALSE(ends.Received());
        raise(SIGTERM);
        raise(SIGINT);
        EXPECT_TRUE(ends.Received());
        EXPECT_TRUE(Readable(ends.Raised().Native()));
        EXPECT_EQ(ends.ExitStatus(), 128 + SIGTERM);  // the first request is the one told
    }
    EXPECT_TRUE(HandledBySystem(SIGTERM, SIG_DFL));
    EXPECT_TRUE(HandledBySystem(SIGINT, SIG_DFL));
    EXPECT_TRUE(HandledBySystem(SIGHUP, SIG_IGN));
    signal(SIGHUP, SIG_DFL);

    const EndRequests again;
    EXPECT_FALSE(again.Received());
    EXPECT_EQ(again.ExitStatus(), 0);
}

}  // namespace
}  // namespace orv
