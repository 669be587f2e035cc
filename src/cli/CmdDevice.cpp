// devices | apply [N]
#include <cstdio>

#include "cli/Cli.h"
#include "common/Utf.h"
#include "session/Session.h"

namespace orv::cli {

namespace {

int Devices(Context& c, std::span<const std::string> args) {
    if (!args.empty()) {
        return UsageError(c, "devices");
    }
    Session session(c.Folders(), c.simulate, c.trace, c.messages, RunAtOnce);
    const std::vector<HidCollectionInfo> collections = session.MouseCollections();
    for (const HidCollectionInfo& info : collections) {
        std::fprintf(c.out, "%s usage-page=0x%04x usage=0x%04x input-length=%u feature-length=%u\n", info.path.c_str(),
                     info.caps.usagePage, info.caps.usage, info.caps.inputReportLength, info.caps.featureReportLength);
        if (info.accessDenied) {
            PrintAccessHelp(c, info.path);
        }
    }
    if (collections.empty()) {
        std::fprintf(c.err, "%s\n", kNoMouse);
        return kExitFailure;
    }
    return kExitOk;
}

int Apply(Context& c, std::span<const std::string> args) {
    if (args.size() > 1) {
        return UsageError(c, "apply");
    }
    std::optional<int> profile;
    if (args.size() == 1) {
        profile = ParseIntArgument(args[0]);
        if (!profile || *profile < 1 || *profile > 5) {
            std::fprintf(c.err, "profile must be 1 to 5: %s\n", args[0].c_str());
            return kExitUsage;
        }
    }

    Session session(c.Folders(), c.simulate, c.trace, c.messages, RunAtOnce);
    if (!FindMouse(c, session)) {
        return kExitFailure;
    }

    const StoredApplyResult result = session.ApplyStoredProfile(profile);
    if (result.busy) {
        return CannotWrite(c, c.ConfigPath(), WriteResult::Kind::Busy);
    }
    if (result.found == ProfileFound::Unreadable) {
        return CannotRead(c, c.ConfigPath());
    }
    return ReportApply(c, result.applied);
}

const CommandRegistration kDevices{"devices", "devices", &Devices};
const CommandRegistration kApply{"apply", "apply [N]", &Apply};

}  // namespace

}  // namespace orv::cli
