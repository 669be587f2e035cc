#pragma once
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <initializer_list>

namespace orv::test {

// Runs check in a child process as a user without privileges and gives its answer. Root writes
// into any folder and reads any file, so a suite running as root hands the given paths to the
// user "nobody" and becomes it in the child; any other user runs check as itself.
inline bool AsUnprivilegedUser(std::initializer_list<std::filesystem::path> owned, const std::function<bool()>& check) {
    constexpr uid_t kNobody = 65534;
    const bool root = ::geteuid() == 0;
    if (root) {
        for (const auto& path : owned) {
            if (::chown(path.c_str(), kNobody, kNobody) != 0) {
                return false;
            }
        }
    }
    const pid_t child = ::fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        if (root && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            ::_exit(2);
        }
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace orv::test
