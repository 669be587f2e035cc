// macro convert IN OUT | macro list [FILE]
#include <cstdio>

#include "cli/Cli.h"
#include "common/TerminalText.h"
#include "common/Utf.h"
#include "macro/MacroFile.h"
#include "settings/ConfigFile.h"

namespace orv::cli {

namespace {

// The files a command is given are named in what it says: the window's text for a missing file
// names none.
int Convert(Context& c, const std::string& in, const std::string& out) {
    MacroStore store;
    switch (ImportMacroFile(PathFromUtf8(in), store)) {
    case MacroImport::Missing:
    case MacroImport::Unreadable:
        return CannotRead(c, PathFromUtf8(in));
    case MacroImport::NoMacros:
        std::fprintf(c.err, "%s holds no macros\n", in.c_str());
        return kExitFailure;
    case MacroImport::Done:
        break;
    }
    if (const WriteResult saved = SaveMacroFile(PathFromUtf8(out), store); !saved) {
        return CannotWrite(c, PathFromUtf8(out), saved);
    }
    return kExitOk;
}

int List(Context& c, std::span<const std::string> args) {
    const std::filesystem::path file =
        args.empty() ? UserMacroFileFor(c.dir, LoadLanguage(c.ConfigPath())) : PathFromUtf8(args[0]);
    const ini::Snapshot read(file);
    if (read.State() != ini::FileState::Read) {
        return CannotRead(c, file);
    }
    MacroStore store;
    LoadMacros(read, MacroTarget::User, store);
    for (int i = 0; i < store.macroCount; ++i) {
        const MacroSlot& slot = store.User(i);
        std::fprintf(c.out, "%d %s events=%d repeat=%d/%d\n", i, EscapeControlCharacters(slot.name()).c_str(),
                     slot.eventCount(), slot.repeatOn(), slot.repeatCount());
    }
    return kExitOk;
}

int Macro(Context& c, std::span<const std::string> args) {
    if (args.size() == 3 && args[0] == "convert") {
        return Convert(c, args[1], args[2]);
    }
    if (!args.empty() && args.size() <= 2 && args[0] == "list") {
        return List(c, args.subspan(1));
    }
    return UsageError(c, "macro");
}

const CommandRegistration kMacro{"macro", "macro convert IN OUT | macro list [FILE]", &Macro};

}  // namespace

}  // namespace orv::cli
