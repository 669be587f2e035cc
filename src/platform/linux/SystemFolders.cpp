#include "platform/SystemFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace orv {

namespace {

std::filesystem::path AbsoluteFromEnvironment(const char* name);
std::filesystem::path HomeFromPasswordDatabase();

}  // namespace

// A relative XDG_CONFIG_HOME is invalid and is ignored, as the base directory rules ask.
std::filesystem::path UserConfigHome() {
    if (std::filesystem::path config = AbsoluteFromEnvironment("XDG_CONFIG_HOME"); !config.empty()) {
        return config;
    }
    std::filesystem::path home = AbsoluteFromEnvironment("HOME");
    if (home.empty()) {
        home = HomeFromPasswordDatabase();
    }
    return home.empty() ? home : home / ".config";
}

std::filesystem::path UserFolderName() { return "orv-gmouse"; }

std::filesystem::path InstalledDataFolder(const std::filesystem::path& executableFolder) {
    return (executableFolder / ORV_DATA_FROM_BINDIR).lexically_normal();
}

bool IsWritableFolder(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_directory(folder, error) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

namespace {

std::filesystem::path AbsoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return {};
    }
    return value;
}

std::filesystem::path HomeFromPasswordDatabase() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
        found->pw_dir == nullptr || found->pw_dir[0] != '/') {
        return {};
    }
    return found->pw_dir;
}

}  // namespace

}  // namespace orv
