#pragma once
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>

namespace orv {

// Serialises the read-modify-replace of one file between processes (the window saving a DPI
// change while a script runs the command line): an advisory lock on a lock file beside the
// target, held while the object lives. Linux: flock on ".NAME.lock"; Windows: LockFileEx on
// "NAME.lock", a hidden file. The lock file stays, so a lock never moves to a new file while
// someone waits on the old one. Readers take no lock: a replace is atomic. Once held, the
// lock removes the temporary files killed writers of the target left (RemoveLeftoverTemporaries).
// Separate locks of one file exclude each other within a process too.
//
// Where the folder takes no lock file because the user may not write to it, the target itself
// is locked: no temporary file can be made there either, so the target is written in place
// and stays the same file. Where nothing can be locked, the write goes ahead unlocked and
// fails or succeeds on its own.
//
// A holder that never lets go (a writer stopped in a debugger or by SIGSTOP, a hung network
// share) would hold every later writer up for ever, so the wait has a bound; past it the lock
// is Busy and the caller writes nothing.
class FileWriteLock {
public:
    explicit FileWriteLock(const std::filesystem::path& target, std::chrono::milliseconds wait = WriteLockWait());
    ~FileWriteLock();
    FileWriteLock(const FileWriteLock&) = delete;
    FileWriteLock& operator=(const FileWriteLock&) = delete;

    bool Held() const { return held_; }
    // Someone else held the lock for the whole wait.
    bool Busy() const { return busy_; }

    // 10 s, or the milliseconds ORV_GMOUSE_LOCK_WAIT_MS gives: the tests of a stopped writer
    // do not wait the full bound.
    static std::chrono::milliseconds WriteLockWait();

private:
    std::intptr_t handle_ = -1;  // the system's descriptor or handle of the locked file
    bool held_ = false;
    bool busy_ = false;
};

namespace detail {

enum class LockTry { Taken, HeldElsewhere, Failed };

// Tries to take a lock until it is taken, cannot be taken at all, or wait has passed since the
// first try, pausing a little longer after each refusal (never more than a few hundredths of a
// second, so a lock let go is soon noticed).
LockTry RetryLock(const std::function<LockTry()>& tryOnce, std::chrono::milliseconds wait);

}  // namespace detail

}  // namespace orv
