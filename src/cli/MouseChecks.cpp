// What the commands that drive the mouse share: finding it, and what an apply could not do.
#include <cstdio>

#include "cli/Cli.h"
#include "common/Utf.h"

namespace orv::cli {

bool FindMouse(Context& c, Session& session) {
    switch (session.FindDevice()) {
    case DeviceStatus::Absent:
        std::fprintf(c.err, "%s\n", kNoMouse);
        return false;
    case DeviceStatus::AccessDenied:
        PrintAccessHelp(c, session.DevicePath());
        return false;
    case DeviceStatus::Unopened:
        std::fprintf(c.err, "the mouse is present, but %s cannot be opened\n", session.DevicePath().c_str());
        return false;
    case DeviceStatus::Ready:
        break;
    }
    return true;
}

void PrintAccessHelp(Context& c, const std::string& node) {
    std::fprintf(c.err,
                 "the mouse is present, but %s cannot be opened: permission denied "
                 "(install the udev rule 70-orv-gmouse.rules, then unplug and replug the mouse)\n",
                 node.c_str());
}

int ReportApply(Context& c, const ApplyResult& result) {
    int exit = kExitOk;
    if (result.reportsFailed > 0) {
        std::fprintf(c.err, "the mouse did not take %d of %d reports\n", result.reportsFailed,
                     result.reportsFailed + result.reportsSent);
        exit = kExitFailure;
    }
    if (!result.saved) {
        exit = CannotWrite(c, c.ConfigPath(), result.saved);
    }
    return exit;
}

}  // namespace orv::cli
