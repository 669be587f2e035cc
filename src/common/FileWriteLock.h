#pragma once
#include <cstdint>
#include <filesystem>

namespace orv {

// Serialises the read-modify-replace of one file between processes (the window saving a DPI
// change while a script runs the command line): an advisory lock on a lock file beside the
// target, held while the object lives. Linux: flock on ".NAME.lock"; Windows: LockFileEx on
// "NAME.lock", a hidden file. The lock file stays, so a lock never moves to a new file while
// someone waits on the old one. Readers take no lock: a replace is atomic. Once held, the
// lock removes the temporary files killed writers of the target left (RemoveLeftoverTemporaries).
//
// Where the folder takes no lock file because the user may not write to it, the target itself
// is locked: no temporary file can be made there either, so the target is written in place
// and stays the same file. Where nothing can be locked, the write goes ahead unlocked and
// fails or succeeds on its own.
class FileWriteLock {
public:
    // Waits until the lock is held.
    explicit FileWriteLock(const std::filesystem::path& target);
    ~FileWriteLock();
    FileWriteLock(const FileWriteLock&) = delete;
    FileWriteLock& operator=(const FileWriteLock&) = delete;

    bool Held() const { return held_; }

private:
    std::intptr_t handle_ = -1;  // the system's descriptor or handle of the locked file
    bool held_ = false;
};

}  // namespace orv
