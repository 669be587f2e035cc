// Stands in for a calc.exe an attacker left in a folder that a bare program name is searched
// in: it only leaves a marker file beside itself.
#include <windows.h>

#include <string>

int main() {
    wchar_t self[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
    std::wstring marker(self, length);
    marker.resize(marker.find_last_of(L'\\') + 1);
    marker += L"planted-program-ran";
    HANDLE file = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    return 0;
}
