#include "platform/Launcher.h"

#include <windows.h>

#include <string>

#include "platform/windows/SystemFolder.h"

namespace orv {

namespace {

// A bare "calc.exe" would be searched for in the program's folder and the current folder
// first, so a planted file of that name would run with the user's rights.
class SystemLauncher : public Launcher {
public:
    void Launch(Program program) override {
        const std::filesystem::path path = SystemFolderFile(program == Program::Calculator ? L"calc.exe" : L"cmd.exe");
        if (path.empty()) {
            return;
        }
        // CreateProcessW may write into the command line, so it gets its own buffer.
        std::wstring commandLine = L"\"" + path.wstring() + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOW;
        PROCESS_INFORMATION process{};
        // A command prompt gets a console of its own instead of sharing the caller's.
        const DWORD flags = program == Program::CommandPrompt ? CREATE_NEW_CONSOLE : 0;
        if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup,
                           &process)) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }
};

}  // namespace

std::unique_ptr<Launcher> CreateSystemLauncher() { return std::make_unique<SystemLauncher>(); }

}  // namespace orv
