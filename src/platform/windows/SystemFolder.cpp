#include "platform/windows/SystemFolder.h"

#include <windows.h>

#include <string>

namespace orv {

std::filesystem::path SystemFolderFile(std::wstring_view fileName) {
    std::wstring folder(MAX_PATH, L'\0');
    UINT length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    if (length >= folder.size()) {
        folder.resize(length);
        length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    }
    if (length == 0 || length >= folder.size()) {
        return {};
    }
    folder.resize(length);
    return std::filesystem::path(folder) / fileName;
}

}  // namespace orv
