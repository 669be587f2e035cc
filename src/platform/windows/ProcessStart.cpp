#include "platform/ProcessStart.h"

#include <windows.h>
// After the Windows types it needs.
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "common/Utf.h"

namespace orv {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return {argv, argv + argc};
    }
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        const std::wstring_view argument(wide[i]);
        arguments.push_back(Utf16ToUtf8(std::u16string(argument.begin(), argument.end())));
    }
    LocalFree(wide);
    return arguments;
}

void UseBinaryStandardStreams() {
    std::fflush(stdout);
    std::fflush(stderr);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace orv
