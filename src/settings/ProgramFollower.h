#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/FrontWindow.h"
#include "platform/PreciseSleep.h"
#include "settings/ProgramRules.h"

namespace orv {

// Chooses the profile for the program in front as the rules say, once per change of front
// program. The first change after a quiet spell is acted on at once; changes that follow within
// kProgramCoalescing of the last one acted on wait for that time to pass, and only the program
// then in front counts, so alt-tabbing through windows sends the mouse one profile, not one per
// window. A profile the user chose or applied himself stays until the front program changes
// again.
//
// Runs on one thread; the caller hands it the watch's changes and calls Due at Deadline.
class ProgramFollower {
public:
    static constexpr std::chrono::milliseconds kProgramCoalescing{300};

    // Chooses and applies profile n as the user's profile click and APPLY would.
    using SwitchTo = std::function<void(int32_t n)>;
    // The profile now applied to the mouse.
    using InUse = std::function<int32_t()>;

    ProgramFollower(Clock& clock, InUse inUse, SwitchTo switchTo, bool ignoreCase);

    // Rules changed by the user apply from the next change of front program.
    void SetRules(ProgramRules rules) { rules_ = std::move(rules); }
    const ProgramRules& Rules() const { return rules_; }

    void FrontChanged(const FrontProgram& front);
    // The user chose or applied a profile: a change still waiting is dropped.
    void UserChoseProfile() { pending_ = false; }
    // When Due must be called, while a change waits.
    std::optional<SteadyTime> Deadline() const;
    void Due();

private:
    void Act(SteadyTime now);
    bool SameProgram(const FrontProgram& a, const FrontProgram& b) const;

    Clock& clock_;
    InUse inUse_;
    SwitchTo switchTo_;
    bool ignoreCase_;
    ProgramRules rules_;
    std::optional<FrontProgram> front_;
    std::optional<SteadyTime> lastActed_;
    bool pending_ = false;
};

}  // namespace orv
