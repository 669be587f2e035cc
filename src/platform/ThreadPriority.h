#pragma once

namespace orv {

// Gives the calling thread the highest priority the system allows this process, so that the
// listener and playback keep their timing on a busy machine. Best effort: where the system
// refuses (an unprivileged user on Linux), the thread keeps its priority and nothing fails.
void RaiseCurrentThreadPriority();

}  // namespace orv
