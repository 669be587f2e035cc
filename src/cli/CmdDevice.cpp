// devices | apply [N]
#include <cstdio>

#include "cli/Cli.h"
#include "common/Utf.h"
#include "session/Session.h"

namespace orv::cli {

namespace {

constexpr const char* kNoMouse = "no mouse found";

void PrintAccessHelp(Context& c, const std::string& path) {
    std::fprintf(c.err,
                 "the mouse is present, but %s cannot be opened: permission denied "
                 "(install the udev rule 70-orv-gmouse.rules, then unplug and replug the mouse)\n",
                 path.c_str());
}

int Devices(Context& c, std::span<const std::string> args) {
    if (!args.empty()) {
        return UsageError(c, "devices");
    }
    Session session(c.Folders(), c.simulate, c.trace, c.messages, RunAtOnce);
    const std::vector<HidCollectionInfo> collections = session.MouseCollections();
    for (const HidCollectionInfo& info : collections) {
        std::fprintf(c.out, "%s usage-page=0x%04x usage=0x%04x input-length=%u feature-length=%u\n",
                     info.path.c_str(), info.caps.usagePage, info.caps.usage, info.caps.inputReportLength,
                     info.caps.featureReportLength);
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
    switch (session.FindDevice()) {
    case DeviceStatus::Absent:
        std::fprintf(c.err, "%s\n", kNoMouse);
        return kExitFailure;
    case DeviceStatus::AccessDenied:
        PrintAccessHelp(c, session.DevicePath());
        return kExitFailure;
    case DeviceStatus::Unopened:
        std::fprintf(c.err, "the mouse is present, but %s cannot be opened\n", session.DevicePath().c_str());
        return kExitFailure;
    case DeviceStatus::Ready:
        break;
    }

    ProfileFound found = session.LoadConfiguration();
    if (profile) {
        found = session.ChooseProfile(*profile);
    }
    if (found == ProfileFound::Unreadable) {
        return CannotRead(c, c.ConfigPath());
    }
    const ApplyResult result = session.ApplyProfile();

    int exit = kExitOk;
    if (result.reportsFailed > 0) {
        std::fprintf(c.err, "the mouse did not take %d of %d reports\n", result.reportsFailed,
                     result.reportsFailed + result.reportsSent);
        exit = kExitFailure;
    }
    if (!result.saved) {
        std::fprintf(c.err, "cannot write %s\n", PathToUtf8(c.ConfigPath()).c_str());
        exit = kExitFailure;
    }
    return exit;
}

const CommandRegistration kDevices{"devices", "devices", &Devices};
const CommandRegistration kApply{"apply", "apply [N]", &Apply};

}  // namespace

}  // namespace orv::cli
