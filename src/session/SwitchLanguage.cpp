#include "macro/MacroFile.h"
#include "session/Session.h"
#include "settings/ConfigFile.h"

namespace orv {

LanguageSwitchResult Session::SwitchLanguage(Language language, const std::function<bool()>& reloadSkin) {
    LanguageSwitchResult result;
    language_ = language;
    result.languageSaved = static_cast<bool>(SaveLanguage(folders_.ConfigPath, language));
    result.skinLoaded = reloadSkin();
    if (!result.skinLoaded) {
        return result;
    }

    // Playback may be running while the other language's macros replace these. As at start-up,
    // a missing file leaves the language without user macros.
    MacroStore& store = macroStore_;
    store.userMacroFile = UserMacroFileFor(folders_.AppDirectory, language);
    switch (ReplaceMacrosFromFile(store.userMacroFile, MacroTarget::User, store, messages_)) {
    case ini::FileState::Read:
        break;
    case ini::FileState::Missing:
        result.faults.push_back({FileFault::Kind::Missing, store.userMacroFile});
        break;
    case ini::FileState::Unreadable:
        result.faults.push_back({FileFault::Kind::Unreadable, store.userMacroFile});
        break;
    }
    return result;
}

}  // namespace orv
