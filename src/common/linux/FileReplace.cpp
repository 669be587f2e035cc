#include "common/FileReplace.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>
#include <system_error>

namespace orv {

namespace {

std::filesystem::path Destination(const std::filesystem::path& target, bool& ok);
bool WriteAll(int fd, std::span<const uint8_t> contents);
bool WriteInPlace(const std::filesystem::path& destination, std::span<const uint8_t> contents);
void SyncFolder(const std::filesystem::path& folder);
std::filesystem::path TempName(const std::filesystem::path& destination);
int CreateTemp(const std::filesystem::path& destination, std::filesystem::path& temp);
pid_t LeftoverWriter(std::string_view entry, std::string_view name);
NewFile MoveUnlessTaken(const std::filesystem::path& temp, const std::filesystem::path& target);

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
    const int fd = CreateTemp(destination, temp);
    if (fd < 0) {
        // A folder the user may not write to can hold a file they may write; the Windows
        // profile functions write such a file, in place, and so does this.
        return exists && (errno == EACCES || errno == EPERM) && WriteInPlace(destination, contents);
    }
    RemoveLeftoverTemporaries(destination);
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

NewFile CreateFileContents(const std::filesystem::path& target, std::span<const uint8_t> contents) {
    struct stat existing {};
    if (::lstat(target.c_str(), &existing) == 0) {
        return NewFile::AlreadyThere;
    }
    std::filesystem::path temp;
    const int fd = CreateTemp(target, temp);
    if (fd < 0) {
        return NewFile::Failed;
    }
    RemoveLeftoverTemporaries(target);
    bool ok = WriteAll(fd, contents) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    const NewFile result = ok ? MoveUnlessTaken(temp, target) : NewFile::Failed;
    if (result != NewFile::Created) {
        ::unlink(temp.c_str());
        return result;
    }
    SyncFolder(target.parent_path());
    return result;
}

// A writer killed half-way leaves its temporary file behind, and nobody else ever renames
// it; each writer removes those of processes that no longer run. A live process's file may
// be about to become the target, so a writer that still exists (or that another user runs,
// which kill() may not probe) keeps it.
void RemoveLeftoverTemporaries(const std::filesystem::path& destination) {
    const std::filesystem::path folder = destination.parent_path();
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const std::string name = destination.filename().string();
    const pid_t self = ::getpid();
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t writer = LeftoverWriter(entry->d_name, name);
        if (writer > 0 && writer != self && ::kill(writer, 0) != 0 && errno == ESRCH) {
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        }
    }
    ::closedir(dir);
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

// 0666 lets the umask decide a new file's permissions, as for any file the user creates.
int CreateTemp(const std::filesystem::path& destination, std::filesystem::path& temp) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = TempName(destination);
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// The process id in a temporary name TempName gave for name (".NAME.PID.N.tmp"), else 0.
pid_t LeftoverWriter(std::string_view entry, std::string_view name) {
    const std::string_view suffix = ".tmp";
    if (entry.size() <= name.size() + 2 + suffix.size() || entry[0] != '.' || entry.substr(1, name.size()) != name ||
        entry[1 + name.size()] != '.' || !entry.ends_with(suffix)) {
        return 0;
    }
    const std::string_view middle = entry.substr(name.size() + 2, entry.size() - name.size() - 2 - suffix.size());
    const size_t dot = middle.find('.');
    const auto digits = [](std::string_view text, size_t most) {
        return !text.empty() && text.size() <= most && text.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (dot == std::string_view::npos || !digits(middle.substr(0, dot), 9) || !digits(middle.substr(dot + 1), 10)) {
        return 0;
    }
    return static_cast<pid_t>(std::stol(std::string(middle.substr(0, dot))));
}

// A rename that refuses to replace; file systems without it get a hard link, which refuses
// the same way, and the temporary name is then dropped.
NewFile MoveUnlessTaken(const std::filesystem::path& temp, const std::filesystem::path& target) {
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        return NewFile::Created;
    }
    if (errno == EEXIST) {
        return NewFile::AlreadyThere;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return NewFile::Failed;
    }
    if (::link(temp.c_str(), target.c_str()) != 0) {
        return errno == EEXIST ? NewFile::AlreadyThere : NewFile::Failed;
    }
    ::unlink(temp.c_str());
    return NewFile::Created;
}

}  // namespace

}  // namespace orv
