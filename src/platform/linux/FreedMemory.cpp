#include "platform/FreedMemory.h"

#include <malloc.h>

namespace orv {

// glibc serves blocks of a once-freed size from its heap afterwards, and keeps the heap's
// freed pages; trimming gives every whole free page back.
void ReturnFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace orv
