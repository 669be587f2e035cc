#include "common/FileWriteLock.h"

#include "common/FileReplace.h"

#include <windows.h>

#include <system_error>

namespace orv {

namespace {

// Byte-range locks on Windows bar other handles from the locked bytes, so the lock covers one
// byte far past any content: when the target itself is locked, its writes stay possible.
constexpr DWORD kLockOffsetLow = 0xFFFFFFFE;
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

std::filesystem::path FinalTarget(const std::filesystem::path& target);
HANDLE OpenLockFile(const std::filesystem::path& target);

}  // namespace

FileWriteLock::FileWriteLock(const std::filesystem::path& target, std::chrono::milliseconds wait) {
    const std::filesystem::path locked = FinalTarget(target);
    HANDLE file = OpenLockFile(locked);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    // A blocking LockFileEx has no timeout; one that fails at once, tried again, bounds the wait.
    const detail::LockTry result = detail::RetryLock(
        [file] {
            OVERLAPPED range{};
            range.Offset = kLockOffsetLow;
            range.OffsetHigh = kLockOffsetHigh;
            if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &range) != FALSE) {
                return detail::LockTry::Taken;
            }
            return GetLastError() == ERROR_LOCK_VIOLATION ? detail::LockTry::HeldElsewhere : detail::LockTry::Failed;
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
    if (handle_ == -1) {
        return;
    }
    HANDLE file = reinterpret_cast<HANDLE>(handle_);
    if (held_) {
        OVERLAPPED range{};
        range.Offset = kLockOffsetLow;
        range.OffsetHigh = kLockOffsetHigh;
        UnlockFileEx(file, 0, 1, 0, &range);
    }
    CloseHandle(file);
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

HANDLE OpenLockFile(const std::filesystem::path& target) {
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const std::wstring lockFile = target.wstring() + L".lock";
    HANDLE file = CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_ACCESS_DENIED) {
        return file;
    }
    return CreateFileW(target.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

}  // namespace orv
