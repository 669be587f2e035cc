#include "platform/linux/FindOnPath.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace orv {

std::optional<std::filesystem::path> FindOnPath(std::string_view name) {
    const char* path = std::getenv("PATH");
    if (path == nullptr) {
        return std::nullopt;
    }
    std::string_view rest(path);
    while (!rest.empty()) {
        const size_t colon = rest.find(':');
        const std::string_view dir = rest.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
        if (dir.empty() || dir.front() != '/') {
            continue;
        }
        const std::string candidate = std::string(dir) + "/" + std::string(name);
        struct stat info {};
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0) {
            return std::filesystem::path(candidate);
        }
    }
    return std::nullopt;
}

}  // namespace orv
