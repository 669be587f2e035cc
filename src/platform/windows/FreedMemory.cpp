#include "platform/FreedMemory.h"

namespace orv {

// The process heap gives blocks as large as a decoded picture their own virtual memory, which
// goes back to the system as soon as the block is freed: nothing is left to hand back.
void ReturnFreedMemory() {}

// Font files are opened by the system's font engine, which manages their memory itself.
void ReleaseFontPages() {}

}  // namespace orv
