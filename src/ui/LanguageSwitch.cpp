#include "ui/LanguageSwitch.h"

#include "session/Session.h"
#include "skin/Regions.h"
#include "skin/SkinLayout.h"
#include "ui/MainWindowPages.h"
#include "ui/UserNotices.h"
#include "ui/WindowEvents.h"
#include "ui/WindowHost.h"

namespace orv {

// These reload the user macros, the one being recorded among them.
LanguageSwitch::LanguageSwitch(const FeatureContext& context) : context_(context) {
    using namespace region::main;
    context_.pages.AddReleaseRow(kChinese, kChinese, [this](RegionHit) {
        if (context_.events.SettleUnsavedWork())
            SwitchToChinese();
    });
    context_.pages.AddReleaseRow(kEnglish, kEnglish, [this](RegionHit) {
        if (context_.events.SettleUnsavedWork())
            SwitchToEnglish();
    });
}

// A "VER_SEL" that cannot be written goes unsaid: the switch holds for this run all the same.
void LanguageSwitch::Switch(Language language) {
    Session& session = context_.session;
    const LanguageSwitchResult result = session.SwitchLanguage(language, [&] {
        return LoadSkin(session.Folders().SkinDirectory, language, context_.skin, context_.messages,
                        context_.notices.Caption());
    });
    if (!result.skinLoaded) {
        context_.host.ExitDriver();
        return;
    }
    for (const FileFault& fault : result.faults) {
        if (fault.kind == FileFault::Kind::Unreadable)
            context_.notices.TellPathBelow(TextId::CannotReadFile, fault.file);
    }
    context_.events.UserMacrosReplaced();
    context_.events.LanguageChanged(language);
}

}  // namespace orv
