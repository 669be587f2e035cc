#include "common/IniFile.h"
#include "macro/MacroFile.h"
#include "session/Session.h"
#include "settings/ApplyProfile.h"
#include "settings/ConfigFile.h"

namespace orv {

namespace {

constexpr int kFirstResetProfile = 5;
constexpr int kLastResetProfile = 2;

}  // namespace

// The reset cannot be undone, so it stops when config.ini cannot be read or written: going on
// would overwrite the user macros and send the mouse settings the user never saw. The working
// settings then go back to what they were.
RestoreResult Session::RestoreDefaults(const std::function<void()>& userMacrosReplaced) {
    RestoreResult result;
    ProfileSettings& settings = profileSettings_;
    const Language language = language_;
    const std::filesystem::path& config = folders_.ConfigPath;
    const ProfileSettings before = settings;
    auto stop = [&](FileFault::Kind kind) {
        settings = before;
        result.faults.push_back({kind, config});
        return result;
    };

    ini::FileUpdate update(config);
    if (update.Busy()) {
        return stop(FileFault::Kind::Busy);
    }
    SetFactorySettings(settings);
    WriteProfile(update, 1, settings);
    for (int n = kFirstResetProfile; n >= kLastResetProfile; --n) {
        if (LoadProfile(update.Contents(), n, true, language, settings) == ProfileFound::Unreadable) {
            return stop(FileFault::Kind::Unreadable);
        }
        WriteProfile(update, n, settings);
    }
    LoadProfile(update.Contents(), currentProfile_, false, language, settings);
    WriteAppliedProfile(update, settings, currentProfile_);
    if (const WriteResult saved = update.Commit(); !saved) {
        return stop(saved.Busy() ? FileFault::Kind::Busy : FileFault::Kind::Unwritable);
    }
    result.profilesReset = true;

    // A factory file that is missing or unreadable must leave the user's macros, and the file
    // they are saved in, as they are.
    MacroStore& store = macroStore_;
    const std::filesystem::path factory = FactoryMacroFileFor(folders_.SkinDirectory, language);
    switch (ReplaceMacrosFromFile(factory, MacroTarget::User, store, messages_, WhenMissing::KeepMacros)) {
    case ini::FileState::Read: {
        if (userMacrosReplaced) {
            userMacrosReplaced();
        }
        const std::filesystem::path user = UserMacroFileFor(folders_.AppDirectory, language);
        if (!SaveMacroFile(user, store)) {
            result.faults.push_back({FileFault::Kind::Unwritable, user});
        } else if (user == store.userMacroFile) {
            store.MarkUserMacrosSaved();
        }
        break;
    }
    case ini::FileState::Missing:
        result.faults.push_back({FileFault::Kind::Missing, factory});
        break;
    case ini::FileState::Unreadable:
        result.faults.push_back({FileFault::Kind::Unreadable, factory});
        break;
    }

    result.applied = SendProfile(settings, applied_, Target());
    appliedProfile_ = currentProfile_;
    Observed(SessionStep::ApplyProfile);
    return result;
}

}  // namespace orv
