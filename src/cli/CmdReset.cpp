// reset
#include <cstdio>

#include "cli/Cli.h"
#include "common/Utf.h"
#include "session/Session.h"

namespace orv::cli {

namespace {

// No question is asked: whoever scripts a reset has decided.
int Reset(Context& c, std::span<const std::string> args) {
    if (!args.empty()) {
        return UsageError(c, "reset");
    }
    Session session(c.Folders(), c.simulate, c.trace, c.messages, RunAtOnce);
    if (!FindMouse(c, session)) {
        return kExitFailure;
    }
    if (session.LoadConfiguration() == ProfileFound::Unreadable) {
        return CannotRead(c, c.ConfigPath());
    }
    const RestoreResult result = session.RestoreDefaults();

    int exit = kExitOk;
    for (const FileFault& fault : result.faults) {
        switch (fault.kind) {
        case FileFault::Kind::Unwritable:
            exit = CannotWrite(c, fault.file, WriteResult::Kind::Failed);
            break;
        case FileFault::Kind::Busy:
            exit = CannotWrite(c, fault.file, WriteResult::Kind::Busy);
            break;
        case FileFault::Kind::Missing:
        case FileFault::Kind::Unreadable:
            exit = CannotRead(c, fault.file);
            break;
        }
    }
    if (result.profilesReset && ReportApply(c, result.applied) != kExitOk) {
        exit = kExitFailure;
    }
    return exit;
}

const CommandRegistration kReset{"reset", "reset", &Reset};

}  // namespace

}  // namespace orv::cli
