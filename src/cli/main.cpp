// orv-gmousectl: the command line over the same core as the window, for scripting and tests.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "common/Utf.h"
#include "platform/ExecutablePath.h"
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

void PrintUsage(std::FILE* err) {
    std::vector<Command> sorted = Commands();
    std::sort(sorted.begin(), sorted.end(), [](const Command& a, const Command& b) { return a.name < b.name; });
    std::fprintf(err, "usage: orv-gmousectl %s COMMAND [ARGS]\ncommands:\n", kGlobalUsage);
    for (const Command& c : sorted) {
        std::fprintf(err, "  %s\n", c.usage.c_str());
    }
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
    std::filesystem::path dir = ExecutablePath().parent_path();
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
        } else {
            std::fprintf(stderr, "unknown option: %s\n", option.c_str());
            PrintUsage(stderr);
            return kExitUsage;
        }
    }
    if (i >= argc) {
        PrintUsage(stderr);
        return kExitUsage;
    }
    const std::string name = argv[i++];
    const std::vector<std::string> args(argv + i, argv + argc);

    Trace traceSink(stdout, trace, timestamps);
    StderrMessages messages;
    Context context{dir, simulate, traceSink, messages, stdout, stderr};
    for (const Command& c : Commands()) {
        if (c.name == name) {
            return c.fn(context, args);
        }
    }
    std::fprintf(stderr, "unknown command: %s\n", name.c_str());
    PrintUsage(stderr);
    return kExitUsage;
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
