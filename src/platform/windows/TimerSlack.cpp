#include "platform/TimerSlack.h"

namespace orv {

// Nothing to ask for: the precise sleeper's high-resolution waitable timer already wakes
// within a fraction of a millisecond without raising the system's tick rate, and on systems
// without that timer the sleeper raises the tick rate to 1 ms itself. Raising it here as well
// would only cost power while nothing plays.
void UseFinestTimerSlack() {}

}  // namespace orv
