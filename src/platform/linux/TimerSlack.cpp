#include "platform/TimerSlack.h"

#include <sys/prctl.h>

namespace orv {

// The kernel lets a thread's timers fire up to 50 us late by default so that it can batch
// wake-ups; one nanosecond is the finest it offers. The setting is the calling thread's own, so
// only the thread that asks pays for it.
void UseFinestTimerSlack() { prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL); }

}  // namespace orv
