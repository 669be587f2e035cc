#include <memory>

#include "macro/MacroFile.h"
#include "session/Session.h"
#include "settings/ConfigFile.h"

namespace orv {

LanguageSwitchResult Session::SwitchLanguage(Language language, const std::function<bool()>& reloadSkin) {
    LanguageSwitchResult result;
    language_ = language;
    result.languageSaved = SaveLanguage(folders_.ConfigPath, language);
    result.skinLoaded = reloadSkin();
    if (!result.skinLoaded) {
        return result;
    }

    // Playback may be running: the other language's macros are loaded aside and handed over
    // whole, so it never copies a slot half loaded.
    MacroStore& store = macroStore_;
    store.userMacroFile = UserMacroFileFor(folders_.AppDirectory, language);
    const auto loaded = std::make_unique<MacroStore>(store);
    switch (LoadMacroFile(store.userMacroFile, MacroTarget::User, *loaded, messages_)) {
        case ini::FileState::Read:
            store.TakeUserMacros(*loaded);
            break;
        case ini::FileState::Missing:
            // As a missing file loads: the language has no user macros.
            store.TakeUserMacros(*loaded);
            result.faults.push_back({FileFault::Kind::Missing, store.userMacroFile});
            break;
        case ini::FileState::Unreadable:
            result.faults.push_back({FileFault::Kind::Unreadable, store.userMacroFile});
            break;
    }
    return result;
}

}  // namespace orv
