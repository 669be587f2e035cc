// profile show | export | import
#include <cstdio>

#include "cli/Cli.h"
#include "common/Utf.h"
#include "settings/ConfigFile.h"
#include "settings/ProfileExchange.h"

namespace orv::cli {

namespace {

int Show(Context& c, std::span<const std::string> args) {
    if (args.size() > 1) {
        return UsageError(c, "profile");
    }
    int n = LoadCurrentProfile(c.ConfigPath());
    if (args.size() == 1) {
        const auto parsed = ParseIntArgument(args[0]);
        if (!parsed) {
            return UsageError(c, "profile");
        }
        n = *parsed;
    }
    ProfileSettings settings;
    LoadProfile(c.ConfigPath(), n, false, LoadLanguage(c.ConfigPath()), settings);
    for (const auto& [key, value] : ProfileKeyValues(settings)) {
        std::fprintf(c.out, "%s=%s\n", key.c_str(), value.c_str());
    }
    return kExitOk;
}

int Export(Context& c, int n, const std::string& fileText) {
    ProfileSettings settings;
    LoadProfile(c.ConfigPath(), n, false, LoadLanguage(c.ConfigPath()), settings);
    const std::filesystem::path file = PathFromUtf8(fileText);
    if (ExportProfile(settings, file) != ExchangeResult::Done) {
        std::fprintf(c.err, "cannot write %s\n", PathToUtf8(file).c_str());
        return kExitFailure;
    }
    return kExitOk;
}

int Import(Context& c, const std::string& fileText, int n) {
    // A mistyped name would otherwise overwrite the profile with zeros.
    ProfileSettings settings;
    if (ImportProfile(PathFromUtf8(fileText), settings) == ExchangeResult::CannotRead) {
        std::fprintf(c.err, "cannot read %s\n", fileText.c_str());
        return kExitFailure;
    }
    // A file without a profile stores all-zero settings, as importing one always has.
    if (!SaveProfile(c.ConfigPath(), n, settings)) {
        std::fprintf(c.err, "cannot write %s\n", PathToUtf8(c.ConfigPath()).c_str());
        return kExitFailure;
    }
    return kExitOk;
}

int Profile(Context& c, std::span<const std::string> args) {
    if (args.empty()) {
        return UsageError(c, "profile");
    }
    const std::string& verb = args[0];
    const auto rest = args.subspan(1);
    if (verb == "show") {
        return Show(c, rest);
    }
    if (verb == "export" && rest.size() == 2) {
        const auto n = ParseIntArgument(rest[0]);
        return n ? Export(c, *n, rest[1]) : UsageError(c, "profile");
    }
    if (verb == "import" && rest.size() == 2) {
        const auto n = ParseIntArgument(rest[1]);
        return n ? Import(c, rest[0], *n) : UsageError(c, "profile");
    }
    return UsageError(c, "profile");
}

const CommandRegistration kProfile{"profile", "profile show [N] | profile export N FILE | profile import FILE N",
                                   &Profile};

}  // namespace

}  // namespace orv::cli
