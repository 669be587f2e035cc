#include "app/WindowParts.h"

#include "common/Texts.h"
#include "ui/FunctionMenus.h"
#include "ui/LanguageSwitch.h"
#include "ui/LightingPreview.h"
#include "ui/MacroEditorFeature.h"
#include "ui/ProfileCommands.h"
#include "ui/QtUserDialogs.h"
#include "ui/UiText.h"
#include "ui/WindowEvents.h"
#include "ui/WindowHost.h"

namespace orv {

WindowParts::WindowParts(const Surroundings& around, SkinLayout skin, std::unique_ptr<UserDialogs> dialogs)
    : skin_(std::move(skin)),
      model_(PageModel::Of(around.session, skin_)),
      pages_(around.session, model_, state_, around.notices, around.host, around.window),
      dialogs_(dialogs != nullptr ? std::move(dialogs) : std::make_unique<QtUserDialogs>(&around.window)),
      features_(FeatureContext{around.session, skin_, pages_, around.events, around.host, around.window, around.notices,
                               *dialogs_, around.messages}) {
    CreateFeatures();
    AddSystemMenu(around);
}

// Each feature plugs itself into the pages and the window's events; what needs one reaches it
// only through those.
void WindowParts::CreateFeatures() {
    features_.Add<FunctionMenus>();
    features_.Add<MacroEditorFeature>();
    features_.Add<ProfileCommands>();
    features_.Add<LanguageSwitch>();
    features_.Add<LightingPreview>();
}

// Where the system gives the window no menu of its own (a frameless window on Linux), Alt+Space
// opens a small one instead: the features' entries, then the About entry last, below a
// separator, as users know it.
void WindowParts::AddSystemMenu(const Surroundings& around) {
    WindowHost* host = &around.host;
    systemMenu_.addAction(UiText(TextId::Minimize), &around.window, [host] { host->Minimise(); });
    systemMenu_.addAction(UiText(TextId::Close), &around.window, [host] { host->CloseToTray(); });
    for (const MenuEntry& entry : around.events.SystemMenuEntries()) {
        systemMenu_.addAction(UiText(entry.caption), &around.window, entry.act);
    }
    systemMenu_.addSeparator();
    systemMenu_.addAction(UiText(TextId::AboutMenu), &around.window, around.showAbout);
}

}  // namespace orv
