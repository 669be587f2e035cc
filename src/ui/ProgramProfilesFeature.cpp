#include "ui/ProgramProfilesFeature.h"

#include <QMetaObject>

#include "session/Session.h"
#include "ui/MainWindowPages.h"
#include "ui/ProgramProfiles.h"
#include "ui/ProgramProfilesDialog.h"
#include "ui/UserNotices.h"
#include "ui/WindowEvents.h"

namespace orv {

ProgramProfilesFeature::ProgramProfilesFeature(const FeatureContext& context) : context_(context) {
    Session& session = context_.session;
    MainWindowPages& pages = context_.pages;
    ProgramProfiles::Hooks hooks;
    hooks.chooseAndApply = [&pages](int32_t n) {
        pages.SelectProfile(n);
        pages.ApplyProfile();
    };
    hooks.inUse = [&session] { return session.AppliedProfile(); };
    hooks.tell = [this](TextId text, const std::filesystem::path& file) { context_.notices.Tell(text, file); };
    programs_ = std::make_unique<ProgramProfiles>(ProgramRulesPath(session.Folders().AppDirectory), std::move(hooks));

    pages.OnUserProfileChoice([this] { programs_->UserChoseProfile(); });
    context_.events.AddTrayEntry({TextId::ProgramProfilesMenu, [this] { ShowDialog(); }});
    context_.events.AddSystemMenuEntry({TextId::ProgramProfilesMenu, [this] { ShowDialog(); }});
    // No switch after the goodbye: the watch ends with the utility.
    context_.events.OnEnding([this] {
        ended_ = true;
        programs_.reset();
    });
    // From the event loop: the start-up's own apply comes first, then the program in front may
    // choose another profile.
    QMetaObject::invokeMethod(
        programs_.get(), [this] { programs_->Load(); }, Qt::QueuedConnection);
}

ProgramProfilesFeature::~ProgramProfilesFeature() = default;

void ProgramProfilesFeature::ShowDialog() {
    if (ended_ || !programs_) {
        return;
    }
    ProgramProfilesDialog dialog(*programs_, context_.session.CurrentLanguage(), &context_.window);
    dialog.exec();
}

}  // namespace orv
