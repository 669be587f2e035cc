#pragma once
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "common/TempFolder.h"
#include "common/Utf.h"

namespace orv::test {

struct CtlResult {
    int exit = -1;
    std::string out;
    std::string err;
};

// Arguments and paths here carry no quotes or dollar signs, so double quotes suit both the POSIX
// shell and cmd.exe, which std::system uses on Windows.
inline std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
inline std::string Quoted(const std::filesystem::path& path) { return Quoted(PathToUtf8(path)); }

// Runs the built command line with the given argument text; its output goes through files in
// the folder. The program itself stays unquoted: cmd.exe drops the outer quotes of a command
// line that starts with one.
inline CtlResult RunCtlLine(const TempFolder& folder, const std::string& arguments) {
    const auto out = folder / "stdout.txt";
    const auto err = folder / "stderr.txt";
    const std::string command = std::filesystem::path(ORV_DATA_DIR "/orv-gmousectl").make_preferred().string() + " " +
                                arguments + " >" + Quoted(out) + " 2>" + Quoted(err);
    // Under Wine, starting cmd.exe now and then fails outright (-1) on a loaded machine, and cmd.exe
    // now and then fails to find a program that is there; neither says anything about the program,
    // so the start is tried again.
    CtlResult result;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int status = std::system(command.c_str());
        // std::system gives the wait status on POSIX systems and the exit code on Windows.
        result.exit = status >= 256 ? status >> 8 : status;
        result.out = ReadBytes(out);
        result.err = ReadBytes(err);
        const bool notStarted =
            status == -1 || result.err.find("as an internal or external command") != std::string::npos;
        if (!notStarted) {
            break;
        }
    }
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return result;
}

// With the folder as the data folder (--dir).
inline CtlResult RunCtlIn(const TempFolder& folder, const std::string& arguments) {
    return RunCtlLine(folder, "--dir " + Quoted(folder.Path()) + " " + arguments);
}

inline CtlResult RunCtl(const TempFolder& folder, const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& arg : args) {
        line += (line.empty() ? "" : " ") + Quoted(arg);
    }
    return RunCtlLine(folder, line);
}

}  // namespace orv::test
