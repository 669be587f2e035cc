#pragma once
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/Messages.h"
#include "common/Trace.h"
#include "common/WriteResult.h"
#include "session/Session.h"

namespace orv::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct Context {
    std::filesystem::path dir;  // the folder of config.ini and the other data files
    bool simulate = false;
    Trace& trace;
    MessageSink& messages;
    std::FILE* out;
    std::FILE* err;

    std::filesystem::path ConfigPath() const { return dir / "config.ini"; }
    SessionFolders Folders() const { return {dir, ConfigPath(), dir / "skins"}; }
};

// What a session posts runs at once: the command line has no loop of its own, and none of its
// commands watches device changes, so the only posted work is a repaint it does not have.
void RunAtOnce(std::function<void()> work);

using CommandFn = int (*)(Context& context, std::span<const std::string> args);

// Each command file registers its commands with a static instance of this.
struct CommandRegistration {
    CommandRegistration(std::string_view name, std::string_view usage, CommandFn fn);
};

// Prints "usage: orv-gmousectl …" for the named command and returns kExitUsage.
int UsageError(Context& context, std::string_view command);

// Prints "cannot read FILE" and returns kExitFailure.
int CannotRead(Context& context, const std::filesystem::path& file);

// Says why file was not written, "cannot write FILE" or "FILE is being written by another
// program", and returns kExitFailure.
int CannotWrite(Context& context, const std::filesystem::path& file, WriteResult result);

inline constexpr const char* kNoMouse = "no mouse found";

// Looks for the mouse through the session; when it cannot be used, says why and returns false.
bool FindMouse(Context& context, Session& session);
// The mouse is there but this user may not open node.
void PrintAccessHelp(Context& context, const std::string& node);

// Says what an apply could not do: reports the mouse did not take, a config.ini not written.
// kExitOk when it did everything.
int ReportApply(Context& context, const ApplyResult& result);

// An integer argument: optional sign and digits only.
std::optional<int> ParseIntArgument(std::string_view text);

}  // namespace orv::cli
