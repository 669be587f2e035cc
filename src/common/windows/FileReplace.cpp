#include "common/FileReplace.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <string_view>

namespace orv {

namespace {

HANDLE CreateTemporaryBeside(const std::filesystem::path& target, std::wstring& tempPath);
bool Unhide(const std::wstring& tempPath);
DWORD LeftoverWriter(std::wstring_view entry, std::wstring_view name);
bool ProcessEnded(DWORD processId);
bool WriteAll(HANDLE file, std::span<const uint8_t> contents);
bool MoveOver(const std::wstring& tempPath, const std::filesystem::path& target);
bool WriteInPlace(const std::filesystem::path& target, std::span<const uint8_t> contents);

}  // namespace

bool ReplaceFileContents(const std::filesystem::path& target, std::span<const uint8_t> contents) {
    std::wstring tempPath;
    HANDLE temp = CreateTemporaryBeside(target, tempPath);
    if (temp == INVALID_HANDLE_VALUE) {
        // A folder the user may not write to can hold a file they may write; the system's
        // profile functions write such a file in place, and so does this.
        return GetLastError() == ERROR_ACCESS_DENIED && WriteInPlace(target, contents);
    }
    RemoveLeftoverTemporaries(target);
    const bool written = WriteAll(temp, contents) && FlushFileBuffers(temp);
    CloseHandle(temp);
    if (written && Unhide(tempPath) && MoveOver(tempPath, target)) {
        return true;
    }
    DeleteFileW(tempPath.c_str());
    return false;
}

NewFile CreateFileContents(const std::filesystem::path& target, std::span<const uint8_t> contents) {
    if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return NewFile::AlreadyThere;
    }
    std::wstring tempPath;
    HANDLE temp = CreateTemporaryBeside(target, tempPath);
    if (temp == INVALID_HANDLE_VALUE) {
        return NewFile::Failed;
    }
    RemoveLeftoverTemporaries(target);
    const bool written = WriteAll(temp, contents) && FlushFileBuffers(temp);
    CloseHandle(temp);
    // Without MOVEFILE_REPLACE_EXISTING the move fails when the name is taken meanwhile.
    if (written && Unhide(tempPath) && MoveFileExW(tempPath.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        return NewFile::Created;
    }
    const DWORD error = GetLastError();
    DeleteFileW(tempPath.c_str());
    return written && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) ? NewFile::AlreadyThere
                                                                                    : NewFile::Failed;
}

// Nobody renames a temporary file whose writer was killed; each writer removes those of
// processes that have ended. A running process's file may be about to become the target, and
// a process this user may not query is taken as running.
void RemoveLeftoverTemporaries(const std::filesystem::path& target) {
    const std::wstring pattern = target.wstring() + L".*.tmp";
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    const std::wstring name = target.filename().wstring();
    do {
        const DWORD writer = LeftoverWriter(found.cFileName, name);
        if (writer != 0 && writer != GetCurrentProcessId() && ProcessEnded(writer)) {
            const std::filesystem::path leftover = target.parent_path() / found.cFileName;
            SetFileAttributesW(leftover.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(leftover.c_str());
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

namespace {

// Unique within the process by the counter and between processes by the process id; a name
// left over by a killed process is skipped, not reused. Hidden, as the lock file is, so that
// a writer killed half-way leaves nothing the user sees until the next writer removes it.
HANDLE CreateTemporaryBeside(const std::filesystem::path& target, std::wstring& tempPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = target.wstring() + L"." + std::to_wstring(GetCurrentProcessId()) + L"." +
                   std::to_wstring(counter.fetch_add(1)) + L".tmp";
        HANDLE file =
            CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return INVALID_HANDLE_VALUE;
}

// The target takes the temporary file's attributes when it is new or moved over, and must
// not become hidden; the temporary file shows only in the moment before its rename.
bool Unhide(const std::wstring& tempPath) { return SetFileAttributesW(tempPath.c_str(), FILE_ATTRIBUTE_NORMAL); }

// The process id in a temporary name CreateTemporaryBeside gave for name ("NAME.PID.N.tmp"),
// else 0.
DWORD LeftoverWriter(std::wstring_view entry, std::wstring_view name) {
    const std::wstring_view suffix = L".tmp";
    if (entry.size() <= name.size() + 1 + suffix.size() || entry.substr(0, name.size()) != name ||
        entry[name.size()] != L'.' || !entry.ends_with(suffix)) {
        return 0;
    }
    const std::wstring_view middle = entry.substr(name.size() + 1, entry.size() - name.size() - 1 - suffix.size());
    const size_t dot = middle.find(L'.');
    const auto digits = [](std::wstring_view text) {
        return !text.empty() && text.size() <= 10 && text.find_first_not_of(L"0123456789") == std::wstring_view::npos;
    };
    if (dot == std::wstring_view::npos || !digits(middle.substr(0, dot)) || !digits(middle.substr(dot + 1))) {
        return 0;
    }
    const unsigned long long id = std::stoull(std::wstring(middle.substr(0, dot)));
    return id <= MAXDWORD ? static_cast<DWORD>(id) : 0;
}

// No such process (OpenProcess refuses the id as invalid), or one that has exited while
// something still holds a handle to it.
bool ProcessEnded(DWORD processId) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (process == nullptr) {
        return GetLastError() == ERROR_INVALID_PARAMETER;
    }
    const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

bool WriteAll(HANDLE file, std::span<const uint8_t> contents) {
    size_t done = 0;
    while (done < contents.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(contents.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, contents.data() + done, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

// ReplaceFileW keeps the target's security and creation time. It needs an existing target and
// may be refused by some file systems; the move then stands in. Attributes are checked and put
// back by hand either way.
bool MoveOver(const std::wstring& tempPath, const std::filesystem::path& target) {
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
            return false;
        }
        if (ReplaceFileW(target.c_str(), tempPath.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                         nullptr)) {
            // Not every implementation of ReplaceFileW carries the attributes over (Wine does not).
            if (GetFileAttributesW(target.c_str()) != attributes) {
                SetFileAttributesW(target.c_str(), attributes);
            }
            return true;
        }
    }
    if (!MoveFileExW(tempPath.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return false;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        SetFileAttributesW(target.c_str(), attributes);
    }
    return true;
}

// The new contents go over the old ones before the file is cut to their length, so a failure
// leaves as much of the file as it can; this path cannot be crash-safe.
bool WriteInPlace(const std::filesystem::path& target, std::span<const uint8_t> contents) {
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        return false;
    }
    HANDLE file = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool written = WriteAll(file, contents) && SetEndOfFile(file) && FlushFileBuffers(file);
    CloseHandle(file);
    return written;
}

}  // namespace

}  // namespace orv
