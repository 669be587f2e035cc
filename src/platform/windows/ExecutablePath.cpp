#include "platform/ExecutablePath.h"

#include <windows.h>

#include <vector>

namespace orv {

// The buffer grows until the name fits: a folder deeper than MAX_PATH (possible with long-path
// support) must not yield a truncated folder, or every data file would be looked up elsewhere.
std::filesystem::path ExecutablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return std::filesystem::path(std::wstring(buffer.data(), length));
        }
        if (buffer.size() >= 32768) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace orv
