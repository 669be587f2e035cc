#pragma once

namespace orv {

// Hands memory the program has freed back to the system where the allocator would keep it for
// later use, so that a program resting in the background holds only what it still uses.
void ReturnFreedMemory();

}  // namespace orv
