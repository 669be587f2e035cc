#include "platform/SystemFolders.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <atomic>
#include <string>

namespace orv {

std::filesystem::path UserConfigHome() {
    PWSTR folder = nullptr;
    std::filesystem::path result;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &folder))) {
        result = folder;
    }
    CoTaskMemFree(folder);
    return result;
}

std::filesystem::path UserFolderName() { return L"ORV_GMouse"; }

std::filesystem::path InstalledDataFolder(const std::filesystem::path& executableFolder) { return executableFolder; }

// Access rights on Windows are lists that only an attempt answers reliably: a file is
// created and deleted again. A folder under Program Files refuses it for a standard user.
bool IsWritableFolder(const std::filesystem::path& folder) {
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path probe = folder / (L".orv-write-test." + std::to_wstring(GetCurrentProcessId()) + L"." +
                                                  std::to_wstring(counter.fetch_add(1)));
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

}  // namespace orv
