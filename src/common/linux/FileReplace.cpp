#include "common/FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>

namespace orv {

namespace {

std::filesystem::path Destination(const std::filesystem::path& target, bool& ok);
bool WriteAll(int fd, std::span<const uint8_t> contents);
bool WriteInPlace(const std::filesystem::path& destination, std::span<const uint8_t> contents);
void SyncFolder(const std::filesystem::path& folder);
std::filesystem::path TempName(const std::filesystem::path& destination);

}  // namespace

bool ReplaceFileContents(const std::filesystem::path& target, std::span<const uint8_t> contents) {
    bool ok = true;
    const std::filesystem::path destination = Destination(target, ok);
    if (!ok) {
        return false;
    }
    struct stat existing {};
    const bool exists = ::stat(destination.c_str(), &existing) == 0;
    if (exists) {
        // A file nobody may write is read-only, for root too, as the read-only attribute is on
        // Windows; the folder being writable must not let a rename overrule it.
        if (!S_ISREG(existing.st_mode) || (existing.st_mode & 0222) == 0 || ::access(destination.c_str(), W_OK) != 0) {
            return false;
        }
    } else if (errno != ENOENT) {
        return false;
    }

    std::filesystem::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = TempName(destination);
        // 0666 lets the umask decide a new file's permissions, as for any file the user creates.
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            // A folder the user may not write to can hold a file they may write; the Windows
            // profile functions write such a file, in place, and so does this.
            return exists && (errno == EACCES || errno == EPERM) && WriteInPlace(destination, contents);
        }
    }
    if (fd < 0) {
        return false;
    }
    ok = WriteAll(fd, contents);
    if (ok && exists) {
        // Only root may give the file away; for everyone else the owner is already right.
        if (::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
            errno = 0;
        }
        ok = ::fchmod(fd, existing.st_mode & 07777) == 0;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), destination.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // The new contents are in place once renamed; a failed folder sync cannot undo that.
    SyncFolder(destination.parent_path());
    return true;
}

namespace {

// Renaming over a symbolic link would replace the link with a plain file and leave the file
// it points to stale, so the link's final target is what gets replaced.
std::filesystem::path Destination(const std::filesystem::path& target, bool& ok) {
    std::error_code error;
    if (!std::filesystem::is_symlink(target, error)) {
        return target;
    }
    std::filesystem::path resolved = std::filesystem::canonical(target, error);
    ok = !error;
    return resolved;
}

bool WriteAll(int fd, std::span<const uint8_t> contents) {
    size_t written = 0;
    while (written < contents.size()) {
        const ssize_t n = ::write(fd, contents.data() + written, contents.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}

// The new contents go over the old ones before the file is cut to their length, so a
// failure leaves as much of the file as it can; this path cannot be crash-safe.
bool WriteInPlace(const std::filesystem::path& destination, std::span<const uint8_t> contents) {
    const int fd = ::open(destination.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool ok = WriteAll(fd, contents);
    ok = ok && ::ftruncate(fd, static_cast<off_t>(contents.size())) == 0;
    ok = ok && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::filesystem::path TempName(const std::filesystem::path& destination) {
    static std::atomic<unsigned> counter{0};
    std::filesystem::path name = destination;
    name.replace_filename("." + destination.filename().string() + "." + std::to_string(::getpid()) + "." +
                          std::to_string(counter.fetch_add(1)) + ".tmp");
    return name;
}

}  // namespace

}  // namespace orv
