// profile show | export | import
#include <cstdio>

#include "cli/Cli.h"
#include "common/Utf.h"
#include "settings/ConfigFile.h"
#include "settings/ProfileExchange.h"

namespace orv::cli {

namespace {

bool ReadConfig(Context& c, int n, ProfileSettings& settings);

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
    if (!ReadConfig(c, n, settings)) {
        return kExitFailure;
    }
    for (const auto& [key, value] : ProfileKeyValues(settings)) {
        std::fprintf(c.out, "%s=%s\n", key.c_str(), value.c_str());
    }
    return kExitOk;
}

int Export(Context& c, int n, const std::filesystem::path& to) {
    ProfileSettings settings;
    if (!ReadConfig(c, n, settings)) {
        return kExitFailure;
    }
    if (const ExchangeResult exported = ExportProfile(settings, to); exported != ExchangeResult::Done) {
        return CannotWrite(c, to,
                           exported == ExchangeResult::Busy ? WriteResult::Kind::Busy : WriteResult::Kind::Failed);
    }
    return kExitOk;
}

// Showing or exporting is asked of the user's own profiles: without config.ini there are none,
// and printing what a missing file reads as would hide that.
bool ReadConfig(Context& c, int n, ProfileSettings& settings) {
    const ProfileFound found = LoadProfile(c.ConfigPath(), n, false, LoadLanguage(c.ConfigPath()), settings);
    if (found == ProfileFound::NoFile || found == ProfileFound::Unreadable) {
        CannotRead(c, c.ConfigPath());
        return false;
    }
    return true;
}

int Import(Context& c, const std::filesystem::path& from, int n) {
    ProfileSettings settings;
    switch (ImportProfile(from, settings)) {
    case ExchangeResult::CannotRead:
        return CannotRead(c, from);
    case ExchangeResult::NoProfile:
        std::fprintf(c.err, "%s holds no profile\n", PathToUtf8(from).c_str());
        return kExitFailure;
    case ExchangeResult::Done:
    case ExchangeResult::CannotWrite:
    case ExchangeResult::Busy:
        break;
    }
    if (const WriteResult saved = SaveProfile(c.ConfigPath(), n, settings); !saved) {
        return CannotWrite(c, c.ConfigPath(), saved);
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
        return n ? Export(c, *n, PathFromUtf8(rest[1])) : UsageError(c, "profile");
    }
    if (verb == "import" && rest.size() == 2) {
        const auto n = ParseIntArgument(rest[1]);
        if (!n) {
            return UsageError(c, "profile");
        }
        return Import(c, PathFromUtf8(rest[0]), *n);
    }
    return UsageError(c, "profile");
}

const CommandRegistration kProfile{"profile", "profile show [N] | profile export N FILE | profile import FILE N",
                                   &Profile};

}  // namespace

}  // namespace orv::cli
