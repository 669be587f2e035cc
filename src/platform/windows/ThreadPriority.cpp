#include "platform/ThreadPriority.h"

#include <windows.h>

namespace orv {

void RaiseCurrentThreadPriority() { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST); }

}  // namespace orv
