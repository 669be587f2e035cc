#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/TempFolder.h"
#include "platform/FreedMemory.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

constexpr size_t kFileSize = 64 * 4096;

// Resident kilobytes of the mapping that starts at address, from the kernel's own account.
long ResidentKb(const void* address) {
    std::ostringstream head;
    head << std::hex << reinterpret_cast<uintptr_t>(address) << '-';
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    bool inside = false;
    while (std::getline(smaps, line)) {
        if (line.rfind(head.str(), 0) == 0)
            inside = true;
        else if (inside && line.rfind("Rss:", 0) == 0)
            return std::stol(line.substr(4));
    }
    return -1;
}

struct Mapping {
    const char* name;
    int protection;
    bool released;
};

// Only a font file's untouched bytes may go: a mapping of another file, or one the program can
// write (a private copy it may have changed), must keep every page it holds.
TEST(ReleaseFontPages, DropsOnlyReadOnlyFontMappingsAndKeepsTheirBytes) {
    test::TempFolder folder;
    std::vector<unsigned char> bytes(kFileSize);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<unsigned char>(i * 7 + 3);

    const Mapping cases[] = {
        {"face.ttf", PROT_READ, true},
        {"Collection.TTC", PROT_READ, true},
        {"pictures.jpg", PROT_READ, false},
        {"written.otf", PROT_READ | PROT_WRITE, false},
    };
    std::vector<unsigned char*> mapped;
    for (const Mapping& m : cases) {
        const fs::path path = folder.Path() / m.name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), kFileSize);
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        void* address = mmap(nullptr, kFileSize, m.protection, MAP_PRIVATE, fd, 0);
        close(fd);
        ASSERT_NE(address, MAP_FAILED);
        auto* view = static_cast<unsigned char*>(address);
        volatile unsigned sum = 0;
        for (size_t i = 0; i < kFileSize; i += 4096)
            sum = sum + view[i];
        if (m.protection & PROT_WRITE)
            view[0] = 0xEE;
        mapped.push_back(view);
        ASSERT_GT(ResidentKb(view), 0) << m.name;
    }

    ReleaseFontPages();

    for (size_t k = 0; k < mapped.size(); ++k) {
        const Mapping& m = cases[k];
        EXPECT_EQ(ResidentKb(mapped[k]) == 0, m.released) << m.name;
        const bool written = (m.protection & PROT_WRITE) != 0;
        EXPECT_EQ(mapped[k][0], written ? 0xEE : bytes[0]) << m.name;
        EXPECT_EQ(std::memcmp(mapped[k] + 1, bytes.data() + 1, kFileSize - 1), 0) << m.name;
        munmap(mapped[k], kFileSize);
    }
}

}  // namespace
}  // namespace orv
