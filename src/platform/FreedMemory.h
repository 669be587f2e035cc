#pragma once

namespace orv {

// Hands memory the program has freed back to the system where the allocator would keep it for
// later use, so that a program resting in the background holds only what it still uses.
void ReturnFreedMemory();

// Lets go of the pages of font files the program has read: only drawing needs them, a hidden
// window draws nothing, and the next paint finds them again in the system's file cache.
void ReleaseFontPages();

}  // namespace orv
