#include "platform/FreedMemory.h"

#include <malloc.h>
#include <strings.h>
#include <sys/mman.h>

#include <array>
#include <charconv>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace orv {

namespace {

bool IsFontFile(std::string_view path) {
    static constexpr std::array<std::string_view, 4> kExtensions = {".ttf", ".ttc", ".otf", ".otc"};
    for (std::string_view extension : kExtensions) {
        if (path.size() > extension.size() &&
            strncasecmp(path.data() + path.size() - extension.size(), extension.data(), extension.size()) == 0)
            return true;
    }
    return false;
}

}  // namespace

// glibc serves blocks of a once-freed size from its heap afterwards, and keeps the heap's
// freed pages; trimming gives every whole free page back.
void ReturnFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

// FreeType maps each font file it opens and keeps it mapped while Qt caches the face, so the
// pages drawing once touched stay counted to the program (a CJK face: megabytes for two
// glyphs). Only mappings nobody may write or run are dropped: their pages hold nothing but the
// file's own bytes, which come back from the file on the next read.
void ReleaseFontPages() {
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        std::istringstream fields(line);
        std::string range, perms, offset, device, inode, path;
        fields >> range >> perms >> offset >> device >> inode;
        std::getline(fields >> std::ws, path);
        if (perms.size() < 3 || perms[0] != 'r' || perms[1] != '-' || perms[2] != '-' || !IsFontFile(path))
            continue;
        uintptr_t start = 0;
        uintptr_t end = 0;
        const char* const last = range.data() + range.size();
        const auto [dash, startError] = std::from_chars(range.data(), last, start, 16);
        if (startError != std::errc() || dash == last || *dash != '-' ||
            std::from_chars(dash + 1, last, end, 16).ec != std::errc())
            continue;
        if (end > start)
            madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED);
    }
}

}  // namespace orv
