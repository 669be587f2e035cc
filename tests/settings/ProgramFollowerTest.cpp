#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "fakes/FakeTime.h"
#include "settings/ProgramFollower.h"

namespace orv {
namespace {

using std::chrono::milliseconds;

// What happens at a moment: a window comes to the front, the user picks a profile himself, or
// the caller's timer calls Due.
struct Step {
    int atMs;
    enum Kind { Front, User, Due } kind;
    FrontProgram front{};
    int32_t userProfile = 0;
};

Step Front(int atMs, const char* program, const char* windowClass = "") {
    return {atMs, Step::Front, {program, windowClass}};
}
Step User(int atMs, int32_t profile) { return {atMs, Step::User, {}, profile}; }
Step Due(int atMs) { return {atMs, Step::Due}; }

struct Case {
    const char* name;
    std::vector<Step> steps;
    std::vector<int32_t> switches;  // the profiles switched to, in order
    int32_t noRule = kKeepProfile;
    int32_t inUse = 1;
    bool enabled = true;
};

TEST(ProgramFollower, SwitchesOncePerChangeCoalescesAndLetsTheUserWin) {
    const Case cases[] = {
        {"a rule's program switches at once", {Front(0, "game")}, {3}},
        {"nothing is sent for the profile in use", {Front(0, "game")}, {}, kKeepProfile, 3},
        {"following off sends nothing", {Front(0, "game")}, {}, kKeepProfile, 1, false},
        {"leaving keeps the profile", {Front(0, "game"), Front(400, "other")}, {3}},
        {"leaving takes the no-rule profile", {Front(0, "game"), Front(400, "other")}, {3, 1}, 1},
        {"no window in front is no rule", {Front(0, "game"), Front(400, "")}, {3, 2}, 2},
        {"alt-tabbing: the program in front at the end of the wait counts",
         {Front(0, "game"), Front(100, "other"), Front(200, "game"), Front(250, "tool"), Due(299), Due(300)},
         {3, 4},
         1},
        {"alt-tabbing back to the program of the last switch sends nothing",
         {Front(0, "game"), Front(100, "tool"), Front(200, "game"), Due(300)},
         {3}},
        {"after a quiet spell a change is acted on at once",
         {Front(0, "game"), Front(100, "tool"), Due(300), Front(700, "game")},
         {3, 4, 3}},
        {"another window of the same program is no change",
         {Front(0, "game"), User(100, 1), Front(500, "game", "Second")},
         {3}},
        {"the user's choice stays until the program changes",
         {Front(0, "game"), User(100, 5), Front(500, "tool"), Front(900, "game")},
         {3, 4, 3}},
        {"the user's choice drops a change still waiting",
         {Front(0, "game"), Front(100, "tool"), User(200, 2), Due(300)},
         {3}},
        {"a window class tells windows of one program apart",
         {Front(0, "launcher", "Launcher"), Front(400, "launcher", "UnityWndClass"), Front(800, "launcher", "X")},
         {2, 5, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakeTime time;
        int32_t inUse = c.inUse;
        std::vector<int32_t> switches;
        ProgramFollower follower(
            time, [&] { return inUse; },
            [&](int32_t n) {
                switches.push_back(n);
                inUse = n;
            },
            false);
        ProgramRules rules;
        rules.enabled = c.enabled;
        rules.noRuleProfile = c.noRule;
        rules.rules = {{"game", "", 3}, {"tool", "", 4}, {"launcher", "", 2}, {"launcher", "UnityWndClass", 5}};
        follower.SetRules(rules);
        for (const Step& step : c.steps) {
            time.now = SteadyTime{} + milliseconds(step.atMs);
            switch (step.kind) {
            case Step::Front:
                follower.FrontChanged(step.front);
                break;
            case Step::User:
                inUse = step.userProfile;
                follower.UserChoseProfile();
                break;
            case Step::Due:
                follower.Due();
                break;
            }
        }
        EXPECT_EQ(switches, c.switches);
    }
}

TEST(ProgramFollower, TheDeadlineIsTheEndOfTheWaitAfterTheLastSwitch) {
    test::FakeTime time;
    ProgramFollower follower(
        time, [] { return 1; }, [](int32_t) {}, false);
    ProgramRules rules;
    rules.enabled = true;
    rules.rules = {{"game", "", 3}};
    follower.SetRules(rules);
    follower.FrontChanged({"game", ""});
    EXPECT_EQ(follower.Deadline(), std::nullopt);
    time.now += milliseconds(120);
    follower.FrontChanged({"tool", ""});
    EXPECT_EQ(follower.Deadline(), SteadyTime{} + ProgramFollower::kProgramCoalescing);
    time.now = *follower.Deadline();
    follower.Due();
    EXPECT_EQ(follower.Deadline(), std::nullopt);
}

}  // namespace
}  // namespace orv
