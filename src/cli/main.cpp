// orv-gmousectl: the command line over the same core as the window, for scripting and tests.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "common/Utf.h"
#include "platform/AppFolders.h"
#include "platform/ProcessStart.h"

namespace orv::cli {

namespace {

struct Command {
    std::string name;
    std::string usage;
    CommandFn fn;
};

std::vector<Command>& Commands() {
    static std::vector<Command> commands;
    return commands;
}

class StderrMessages : public MessageSink {
public:
    void ShowMessage(std::string_view, std::string_view text) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    }
};

constexpr const char* kGlobalUsage = "[--dir DIR] [--simulate] [--trace] [--timestamps]";

std::string WhereLine(const AppFolders& folders);

// Ends with the folders this run would use, so that a user can tell which settings it reads.
void PrintUsage(std::FILE* file, const AppFolders& folders) {
    std::vector<Command> sorted = Commands();
    std::sort(sorted.begin(), sorted.end(), [](const Command& a, const Command& b) { return a.name < b.name; });
    std::fprintf(file, "usage: orv-gmousectl %s COMMAND [ARGS]\ncommands:\n", kGlobalUsage);
    for (const Command& c : sorted) {
        std::fprintf(file, "  %s\n", c.usage.c_str());
    }
    std::fprintf(file, "%s\n", WhereLine(folders).c_str());
}

std::string WhereLine(const AppFolders& folders) {
    const char* why = "";
    switch (folders.layout) {
    case FolderLayout::Given:
        why = "--dir";
        break;
    case FolderLayout::Portable:
        why = "beside the program";
        break;
    case FolderLayout::Installed:
        why = "this user's own folder";
        break;
    }
    return "where: config.ini and macros in " + PathToUtf8(folders.AppDirectory) + " (" + why + "), skin in " +
           PathToUtf8(folders.SkinDirectory);
}

}  // namespace

CommandRegistration::CommandRegistration(std::string_view name, std::string_view usage, CommandFn fn) {
    Commands().push_back({std::string(name), std::string(usage), fn});
}

void RunAtOnce(std::function<void()> work) { work(); }

int UsageError(Context& context, std::string_view command) {
    for (const Command& c : Commands()) {
        if (c.name == command) {
            std::fprintf(context.err, "usage: orv-gmousectl %s %s\n", kGlobalUsage, c.usage.c_str());
        }
    }
    return kExitUsage;
}

int CannotRead(Context& context, const std::filesystem::path& file) {
    std::fprintf(context.err, "cannot read %s\n", PathToUtf8(file).c_str());
    return kExitFailure;
}

int CannotWrite(Context& context, const std::filesystem::path& file, WriteResult result) {
    const std::string path = PathToUtf8(file);
    if (result.Busy()) {
        std::fprintf(context.err, "%s is being written by another program\n", path.c_str());
    } else {
        std::fprintf(context.err, "cannot write %s\n", path.c_str());
    }
    return kExitFailure;
}

std::optional<int> ParseIntArgument(std::string_view text) {
    size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    if (i >= text.size() || text.size() - i > 9) {
        return std::nullopt;
    }
    for (size_t k = i; k < text.size(); ++k) {
        if (text[k] < '0' || text[k] > '9') {
            return std::nullopt;
        }
    }
    return std::stoi(std::string(text));
}

int Main(int argc, char** argv) {
    std::optional<std::filesystem::path> dir;
    bool simulate = false;
    bool trace = false;
    bool timestamps = false;
    int i = 1;
    for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
        const std::string option = argv[i];
        if (option == "--dir" && i + 1 < argc) {
            dir = PathFromUtf8(argv[++i]);
        } else if (option == "--simulate") {
            simulate = true;
        } else if (option == "--trace") {
            trace = true;
        } else if (option == "--timestamps") {
            timestamps = true;
        } else if (option == "--help") {
            PrintUsage(stdout, ChooseAppFolders(dir, SystemFolderFacts()));
            return kExitOk;
        } else if (option == "--version") {
            std::printf("orv-gmousectl %s\n", ORV_VERSION);
            return kExitOk;
        } else {
            std::fprintf(stderr, "unknown option: %s\n", option.c_str());
            PrintUsage(stderr, ChooseAppFolders(dir, SystemFolderFacts()));
            return kExitUsage;
        }
    }
    if (i >= argc) {
        PrintUsage(stderr, ChooseAppFolders(dir, SystemFolderFacts()));
        return kExitUsage;
    }
    const std::string name = argv[i++];
    const std::vector<std::string> args(argv + i, argv + argc);

    const auto command =
        std::find_if(Commands().begin(), Commands().end(), [&](const Command& c) { return c.name == name; });
    if (command == Commands().end()) {
        std::fprintf(stderr, "unknown command: %s\n", name.c_str());
        PrintUsage(stderr, ChooseAppFolders(dir, SystemFolderFacts()));
        return kExitUsage;
    }
    AppFolders folders;
    std::string error;
    if (!FindAppFolders(dir, SystemFolderFacts(), folders, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kExitFailure;
    }
    Trace traceSink(stdout, trace, timestamps);
    StderrMessages messages;
    Context context{folders.AppDirectory, simulate, traceSink, messages, stdout, stderr};
    return command->fn(context, args);
}

}  // namespace orv::cli

int main(int argc, char** argv) {
    orv::UseBinaryStandardStreams();
    std::vector<std::string> arguments = orv::CommandLineArguments(argc, argv);
    std::vector<char*> pointers;
    for (std::string& argument : arguments) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    return orv::cli::Main(static_cast<int>(arguments.size()), pointers.data());
}
