#include "ui/ProgramProfiles.h"

#include <QMetaObject>
#include <algorithm>
#include <chrono>

namespace orv {

ProgramProfiles::ProgramProfiles(std::filesystem::path rulesFile, Hooks hooks, QObject* parent)
    : QObject(parent),
      rulesFile_(std::move(rulesFile)),
      hooks_(std::move(hooks)),
      follower_(SystemClock(), hooks_.inUse, hooks_.chooseAndApply, ProgramNamesIgnoreCase()) {
    if (!hooks_.watch) {
        hooks_.watch = &WatchFrontWindow;
    }
    due_.setSingleShot(true);
    connect(&due_, &QTimer::timeout, this, [this] {
        follower_.Due();
        Schedule();
    });
}

ProgramProfiles::~ProgramProfiles() = default;

void ProgramProfiles::Load() { Take(LoadProgramRules(rulesFile_)); }

RulesSaved ProgramProfiles::Edit(const std::function<bool(ProgramRules&)>& edit) {
    const RulesSaved saved = EditProgramRules(rulesFile_, edit);
    if (saved == RulesSaved::Saved) {
        Load();
    }
    return saved;
}

void ProgramProfiles::Take(const RulesRead& read) {
    found_ = read.found;
    if ((found_ == RulesFound::Damaged || found_ == RulesFound::Unreadable) && !toldUnusable_) {
        toldUnusable_ = true;
        hooks_.tell(found_ == RulesFound::Damaged ? TextId::ProgramRulesDamaged : TextId::ProgramRulesUnreadable,
                    rulesFile_);
    }
    follower_.SetRules(read.rules);
    if (!read.rules.enabled) {
        watch_.reset();
        unavailable_ = FrontWatchUnavailable::None;
        due_.stop();
        return;
    }
    if (watch_ || unavailable_ != FrontWatchUnavailable::None) {
        return;
    }
    // The watch tells on its own thread and ends before this object does; the change is taken
    // on the window's thread, and one still queued when the window ends goes with this object.
    watch_ = hooks_.watch(
        [this](FrontProgram front) {
            QMetaObject::invokeMethod(
                this, [this, front = std::move(front)] { FrontChanged(front); }, Qt::QueuedConnection);
        },
        unavailable_);
}

void ProgramProfiles::FrontChanged(const FrontProgram& front) {
    follower_.FrontChanged(front);
    Schedule();
}

void ProgramProfiles::Schedule() {
    const auto deadline = follower_.Deadline();
    if (!deadline) {
        due_.stop();
        return;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*deadline - SystemClock().Now());
    due_.start(static_cast<int>(std::max<std::chrono::milliseconds::rep>(wait.count(), 0)));
}

}  // namespace orv
