#include <gtest/gtest.h>

#include <string>

#include "common/TempFolder.h"
#include "settings/ProgramRules.h"

namespace orv {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

ProgramRules TwoRules() {
    ProgramRules rules;
    rules.enabled = true;
    rules.noRuleProfile = 2;
    rules.rules = {{"game.exe", "", 3}, {" odd \"name\" ", "Unity Wnd", 5}};
    return rules;
}

bool Replace(ProgramRules& rules, const ProgramRules& with) {
    rules = with;
    return true;
}

TEST(ProgramRulesFile, RoundTripsAndRemovedRulesStayRemoved) {
    TempFolder folder;
    const auto file = ProgramRulesPath(folder.Path());
    EXPECT_EQ(LoadProgramRules(file).found, RulesFound::Missing);
    ASSERT_EQ(EditProgramRules(file, [](ProgramRules& r) { return Replace(r, TwoRules()); }), RulesSaved::Saved);
    RulesRead read = LoadProgramRules(file);
    ASSERT_EQ(read.found, RulesFound::Read);
    EXPECT_EQ(read.rules, TwoRules()) << "blanks and quotes of a name come back as written";

    ASSERT_EQ(EditProgramRules(file, [](ProgramRules& r) { return RemoveRules(r, "game.exe", false); }),
              RulesSaved::Saved);
    read = LoadProgramRules(file);
    ASSERT_EQ(read.found, RulesFound::Read);
    ASSERT_EQ(read.rules.rules.size(), 1u);
    EXPECT_EQ(read.rules.rules[0].program, " odd \"name\" ");
    const std::string before = ReadBytes(file);
    EXPECT_EQ(EditProgramRules(file, [](ProgramRules&) { return false; }), RulesSaved::Unchanged);
    EXPECT_EQ(ReadBytes(file), before);
}

TEST(ProgramRulesFile, TheShippedFileHoldsNoRulesAndFollowingOff) {
    const RulesRead read = LoadProgramRules(std::filesystem::path(ORV_DATA_DIR) / "AppProfiles.ini");
    ASSERT_EQ(read.found, RulesFound::Read);
    EXPECT_EQ(read.rules, ProgramRules{});
}

TEST(ProgramRulesFile, ADamagedFileIsNoRulesAndNeverWrittenOver) {
    const char* const damaged[] = {
        "[Follow]\nEnabled=yes\n",
        "[Follow]\nNoRule=6\n",
        "[Follow]\nRules=201\n",
        "[Follow]\nRules=-1\n",
        "[Follow]\nRules=2\n[Rule1]\nProgram=a\nProfile=1\n",
        "[Follow]\nRules=1\n[Rule1]\nProgram=\nProfile=1\n",
        "[Follow]\nRules=1\n[Rule1]\nProgram=a/b\nProfile=1\n",
        "[Follow]\nRules=1\n[Rule1]\nProgram=a\nProfile=0\n",
        "[Follow]\nRules=1\n[Rule1]\nProgram=a\nProfile=3x\n",
        "[Follow]\nRules=1\n[Rule1]\nProgram=a\n",
    };
    for (const char* text : damaged) {
        SCOPED_TRACE(text);
        TempFolder folder;
        const auto file = folder / "AppProfiles.ini";
        WriteBytes(file, text);
        EXPECT_EQ(LoadProgramRules(file).found, RulesFound::Damaged);
        EXPECT_EQ(LoadProgramRules(file).rules, ProgramRules{});
        bool edited = false;
        EXPECT_EQ(EditProgramRules(file,
                                   [&](ProgramRules& r) {
                                       edited = true;
                                       return Replace(r, TwoRules());
                                   }),
                  RulesSaved::Damaged);
        EXPECT_FALSE(edited);
        EXPECT_EQ(ReadBytes(file), text);
    }
}

TEST(ProgramRulesFile, AnUnreadableFileIsToldApartAndLeftAlone) {
    TempFolder folder;
    const auto file = folder / "AppProfiles.ini";
    std::filesystem::create_directory(file);
    EXPECT_EQ(LoadProgramRules(file).found, RulesFound::Unreadable);
    EXPECT_EQ(EditProgramRules(file, [](ProgramRules& r) { return Replace(r, TwoRules()); }), RulesSaved::Unreadable);
}

TEST(ProgramRules, AddingReplacesTheSameProgramAndClassAndTheFirstRuleTurnsFollowingOn) {
    ProgramRules rules;
    AddRule(rules, {"Game.exe", "", 3}, true);
    EXPECT_TRUE(rules.enabled);
    rules.enabled = false;
    AddRule(rules, {"game.EXE", "", 4}, true);
    AddRule(rules, {"game.exe", "Other", 1}, true);
    EXPECT_FALSE(rules.enabled) << "a user who turned following off keeps it off";
    EXPECT_EQ(rules.rules, (std::vector<ProgramRule>{{"game.EXE", "", 4}, {"game.exe", "Other", 1}}));
    AddRule(rules, {"GAME.exe", "", 2}, false);
    EXPECT_EQ(rules.rules.size(), 3u) << "names that differ in case are two programs where case counts";
    EXPECT_TRUE(RemoveRules(rules, "GAME.EXE", true));
    EXPECT_TRUE(rules.rules.empty()) << "every rule of the program, whatever its class";
    EXPECT_FALSE(RemoveRules(rules, "game.exe", true));
}

TEST(ProgramRules, ChoosesByProgramThenWindowClassElseTheNoRuleChoice) {
    ProgramRules rules;
    rules.noRuleProfile = 2;
    rules.rules = {{"launcher", "", 3}, {"launcher", "UnityWndClass", 5}, {"Game.exe", "", 4}};
    struct Case {
        FrontProgram front;
        bool ignoreCase;
        int32_t profile;
    };
    const Case cases[] = {
        {{"launcher", "Launcher"}, false, 3},
        {{"launcher", "UnityWndClass"}, false, 5},
        {{"launcher", "unitywndclass"}, false, 3},
        {{"launcher", "unitywndclass"}, true, 5},
        {{"game.exe", ""}, true, 4},
        {{"game.exe", ""}, false, 2},
        {{"game", ""}, true, 2},
        {{"", ""}, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.front.program + " " + c.front.windowClass);
        EXPECT_EQ(ChosenProfile(rules, c.front, c.ignoreCase), c.profile);
    }
    rules.noRuleProfile = kKeepProfile;
    EXPECT_EQ(ChosenProfile(rules, {"other", ""}, false), kKeepProfile);
}

TEST(ProgramRules, NamesAndPaths) {
    EXPECT_EQ(ProgramFileName("/usr/bin/steam"), "steam");
    EXPECT_EQ(ProgramFileName("C:\\Games\\game.exe"), "game.exe");
    EXPECT_EQ(ProgramFileName("xterm"), "xterm");
    EXPECT_FALSE(IsProgramName(""));
    EXPECT_FALSE(IsProgramName("a\nb"));
    EXPECT_FALSE(IsProgramName(std::string(kMaxProgramName + 1, 'a')));
    EXPECT_TRUE(IsProgramName("\xE6\xB8\xB8\xE6\x88\x8F.exe"));
}

}  // namespace
}  // namespace orv
