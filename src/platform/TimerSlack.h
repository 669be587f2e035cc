#pragma once

namespace orv {

// Asks the system to wake the calling thread's timed waits as close to their deadlines as it
// can, for the rest of the thread's life. Best effort: nothing fails where it is refused.
void UseFinestTimerSlack();

}  // namespace orv
