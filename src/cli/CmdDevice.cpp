// devices | apply [N]
#include <cstdio>
#include <memory>

#include "cli/Cli.h"
#include "common/Utf.h"
#include "device/DeviceLink.h"
#include "device/FeatureReport.h"
#include "device/SimulatedMouse.h"
#include "platform/PointerSettings.h"
#include "settings/ApplyProfile.h"
#include "settings/ConfigFile.h"

namespace orv::cli {

namespace {

constexpr const char* kNoMouse = "no mouse found";

std::unique_ptr<HidTransport> MakeTransport(Context& c) {
    if (c.simulate) {
        return std::make_unique<SimulatedMouse>(&c.trace);
    }
    return CreateSystemHidTransport();
}

bool IsOurs(const HidCollectionInfo& info) {
    return info.vendorId == DeviceLink::VendorId && info.productId == DeviceLink::ProductId;
}

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
    const auto transport = MakeTransport(c);
    int found = 0;
    for (const HidCollectionInfo& info : transport->Enumerate(DeviceLink::kMaxInterfaces)) {
        if (!IsOurs(info)) {
            continue;
        }
        ++found;
        std::fprintf(c.out, "%s usage-page=0x%04x usage=0x%04x input-length=%u feature-length=%u\n",
                     info.path.c_str(), info.caps.usagePage, info.caps.usage, info.caps.inputReportLength,
                     info.caps.featureReportLength);
        if (info.accessDenied) {
            PrintAccessHelp(c, info.path);
        }
    }
    if (found == 0) {
        std::fprintf(c.err, "%s\n", kNoMouse);
        return kExitFailure;
    }
    return kExitOk;
}

int Apply(Context& c, std::span<const std::string> args) {
    if (args.size() > 1) {
        return UsageError(c, "apply");
    }
    const std::filesystem::path config = c.ConfigPath();
    int32_t currentProfile = 0;
    if (args.size() == 1) {
        const auto n = ParseIntArgument(args[0]);
        if (!n || *n < 1 || *n > 5) {
            std::fprintf(c.err, "profile must be 1 to 5: %s\n", args[0].c_str());
            return kExitUsage;
        }
        currentProfile = *n;
    } else {
        currentProfile = LoadCurrentProfile(config);
    }

    const auto transport = MakeTransport(c);
    DeviceLink link(*transport);
    if (!link.FindDevice()) {
        std::fprintf(c.err, "%s\n", kNoMouse);
        return kExitFailure;
    }
    if (link.AccessDenied()) {
        PrintAccessHelp(c, link.DevicePath());
        return kExitFailure;
    }
    if (link.WriteHandleState() != HandleState::Open) {
        std::fprintf(c.err, "the mouse is present, but %s cannot be opened\n", link.DevicePath().c_str());
        return kExitFailure;
    }

    ProfileSettings settings;
    LoadProfile(config, currentProfile, false, LoadLanguage(config), settings);
    FeatureReport reports(link);
    const std::unique_ptr<PointerSettings> pointer =
        c.simulate ? CreateTracingPointerSettings(c.trace) : CreateSystemPointerSettings();
    AppliedState applied;
    const ApplyResult result = ApplyProfile(settings, currentProfile, applied, {reports, *pointer, config, {}});

    int exit = kExitOk;
    if (result.reportsFailed > 0) {
        std::fprintf(c.err, "the mouse did not take %d of %d reports\n", result.reportsFailed,
                     result.reportsFailed + result.reportsSent);
        exit = kExitFailure;
    }
    if (!result.saved) {
        std::fprintf(c.err, "cannot write %s\n", PathToUtf8(config).c_str());
        exit = kExitFailure;
    }
    return exit;
}

const CommandRegistration kDevices{"devices", "devices", &Devices};
const CommandRegistration kApply{"apply", "apply [N]", &Apply};

}  // namespace

}  // namespace orv::cli
