#include "common/FileWriteLock.h"

#include "common/FileReplace.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace orv {

namespace {

std::filesystem::path FinalTarget(const std::filesystem::path& target);
int OpenLockFile(const std::filesystem::path& target);

}  // namespace

FileWriteLock::FileWriteLock(const std::filesystem::path& target, std::chrono::milliseconds wait) {
    const std::filesystem::path locked = FinalTarget(target);
    const int fd = OpenLockFile(locked);
    if (fd < 0) {
        return;
    }
    handle_ = fd;
    // flock has no timeout of its own; a lock taken without blocking, tried again, bounds the wait.
    const detail::LockTry result = detail::RetryLock(
        [fd] {
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                return detail::LockTry::Taken;
            }
            return errno == EWOULDBLOCK || errno == EINTR ? detail::LockTry::HeldElsewhere : detail::LockTry::Failed;
        },
        wait);
    held_ = result == detail::LockTry::Taken;
    busy_ = result == detail::LockTry::HeldElsewhere;
    // A write that finds nothing to change replaces nothing; it still tidies up here.
    if (held_) {
        RemoveLeftoverTemporaries(locked);
    }
}

FileWriteLock::~FileWriteLock() {
    if (handle_ >= 0) {
        ::close(static_cast<int>(handle_));  // releases the lock
    }
}

namespace {

// The file is replaced where a symbolic link finally points, so that is the file to lock for.
std::filesystem::path FinalTarget(const std::filesystem::path& target) {
    std::error_code error;
    if (!std::filesystem::is_symlink(target, error)) {
        return target;
    }
    std::filesystem::path resolved = std::filesystem::canonical(target, error);
    return error ? target : resolved;
}

int OpenLockFile(const std::filesystem::path& target) {
    std::filesystem::path lockFile = target;
    lockFile.replace_filename("." + target.filename().string() + ".lock");
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd >= 0 || (errno != EACCES && errno != EPERM && errno != EROFS)) {
        return fd;
    }
    return ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
}

}  // namespace

}  // namespace orv
