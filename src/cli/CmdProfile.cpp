// profile show | export | import
#include <cstdio>
#include <system_error>

#include "cli/Cli.h"
#include "common/Utf.h"
#include "settings/ConfigFile.h"

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
    if (LoadProfile(c.ConfigPath(), n, false, LoadLanguage(c.ConfigPath()), settings) == ProfileFound::Unreadable) {
        return CannotRead(c, c.ConfigPath());
    }
    for (const auto& [key, value] : ProfileKeyValues(settings)) {
        std::fprintf(c.out, "%s=%s\n", key.c_str(), value.c_str());
    }
    return kExitOk;
}

int Save(Context& c, const std::filesystem::path& to, int n, const ProfileSettings& settings) {
    if (!SaveProfile(to, n, settings)) {
        std::fprintf(c.err, "cannot write %s\n", PathToUtf8(to).c_str());
        return kExitFailure;
    }
    return kExitOk;
}

int Export(Context& c, int n, const std::filesystem::path& to) {
    ProfileSettings settings;
    if (LoadProfile(c.ConfigPath(), n, false, LoadLanguage(c.ConfigPath()), settings) == ProfileFound::Unreadable) {
        return CannotRead(c, c.ConfigPath());
    }
    return Save(c, to, kExchangeProfile, settings);
}

// A file without the exchange section holds no profile: importing what such a section reads as
// would replace the user's profile with one nobody chose.
int Import(Context& c, const std::filesystem::path& from, int n) {
    ProfileSettings settings;
    switch (LoadProfile(from, kExchangeProfile, false, LoadLanguage(c.ConfigPath()), settings)) {
        case ProfileFound::Unreadable:
            return CannotRead(c, from);
        case ProfileFound::NoSection:
            std::fprintf(c.err, "%s holds no profile\n", PathToUtf8(from).c_str());
            return kExitFailure;
        case ProfileFound::Section:
            break;
    }
    return Save(c, c.ConfigPath(), n, settings);
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
        return n ? Export(c, *n, PathFromUtf8(rest[1])) : UsageError(c, "profile");
    }
    if (verb == "import" && rest.size() == 2) {
        const auto n = ParseIntArgument(rest[1]);
        if (!n) {
            return UsageError(c, "profile");
        }
        // A mistyped name would otherwise overwrite the profile with zeros.
        const std::filesystem::path from = PathFromUtf8(rest[0]);
        std::error_code error;
        if (!std::filesystem::is_regular_file(from, error)) {
            std::fprintf(c.err, "cannot read %s\n", rest[0].c_str());
            return kExitFailure;
        }
        return Import(c, from, *n);
    }
    return UsageError(c, "profile");
}

const CommandRegistration kProfile{"profile", "profile show [N] | profile export N FILE | profile import FILE N",
                                   &Profile};

}  // namespace

}  // namespace orv::cli
