#include "settings/ProgramFollower.h"

namespace orv {

ProgramFollower::ProgramFollower(Clock& clock, InUse inUse, SwitchTo switchTo, bool ignoreCase)
    : clock_(clock), inUse_(std::move(inUse)), switchTo_(std::move(switchTo)), ignoreCase_(ignoreCase) {}

// Another window of the same program is no change, unless the rules tell its windows apart.
bool ProgramFollower::SameProgram(const FrontProgram& a, const FrontProgram& b) const {
    return SameProgramName(a.program, b.program, ignoreCase_) &&
           MatchingRule(rules_, a, ignoreCase_) == MatchingRule(rules_, b, ignoreCase_);
}

void ProgramFollower::FrontChanged(const FrontProgram& front) {
    if (front_ && SameProgram(*front_, front)) {
        return;
    }
    front_ = front;
    if (!rules_.enabled) {
        pending_ = false;
        return;
    }
    const SteadyTime now = clock_.Now();
    if (!lastActed_ || now - *lastActed_ >= kProgramCoalescing) {
        Act(now);
    } else {
        pending_ = true;
    }
}

std::optional<SteadyTime> ProgramFollower::Deadline() const {
    if (!pending_) {
        return std::nullopt;
    }
    return *lastActed_ + kProgramCoalescing;
}

void ProgramFollower::Due() {
    if (!pending_) {
        return;
    }
    const SteadyTime now = clock_.Now();
    if (now - *lastActed_ >= kProgramCoalescing) {
        Act(now);
    }
}

void ProgramFollower::Act(SteadyTime now) {
    pending_ = false;
    if (!rules_.enabled) {
        return;
    }
    lastActed_ = now;
    const int32_t chosen = ChosenProfile(rules_, *front_, ignoreCase_);
    if (chosen != kKeepProfile && chosen != inUse_()) {
        switchTo_(chosen);
    }
}

}  // namespace orv
