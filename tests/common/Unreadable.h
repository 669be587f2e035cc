#pragma once
#include <filesystem>
#include <fstream>

namespace orv::test {

// Makes file (created when missing) exist but unreadable to this process: without read
// permission, or where that does not stop this process (root reads any file, and Windows has
// no such permission) with a folder in its place.
inline void MakeUnreadable(const std::filesystem::path& file) {
    if (!std::filesystem::exists(file)) {
        std::ofstream(file, std::ios::binary) << "[Init]\n";
    }
    std::filesystem::permissions(file, std::filesystem::perms::none);
    if (std::ifstream(file, std::ios::binary)) {
        std::filesystem::permissions(file, std::filesystem::perms::owner_all);
        std::filesystem::remove(file);
        std::filesystem::create_directory(file);
    }
}

}  // namespace orv::test
