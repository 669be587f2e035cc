#include "platform/ThreadPriority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace orv {

void RaiseCurrentThreadPriority() {
    // Real-time scheduling would let a runaway macro starve the desktop; a lower nice value of
    // this thread alone is enough, and is refused harmlessly without the capability for it.
    const auto tid = static_cast<id_t>(syscall(SYS_gettid));
    setpriority(PRIO_PROCESS, tid, -10);
}

}  // namespace orv
