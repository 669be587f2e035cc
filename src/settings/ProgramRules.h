#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/IniFile.h"
#include "platform/FrontWindow.h"

namespace orv {

// A program, and the profile chosen when it comes to the front.
struct ProgramRule {
    std::string program;      // the executable's file name
    std::string windowClass;  // empty: any window of the program
    int32_t profile = 1;      // 1 to 5

    bool operator==(const ProgramRule&) const = default;
};

// The rules of the profiles that follow the program in front. They live in AppProfiles.ini
// beside config.ini, so that config.ini keeps exactly the format the mouse's own tools read.
struct ProgramRules {
    bool enabled = false;
    int32_t noRuleProfile = 0;  // when no rule matches: 0 keeps the profile in use, else 1 to 5
    std::vector<ProgramRule> rules;

    bool operator==(const ProgramRules&) const = default;
};

inline constexpr int32_t kKeepProfile = 0;
// More rules than a user would keep by hand; a count beyond it is a damaged file, and reading
// never walks the file more times than this.
inline constexpr int kMaxProgramRules = 200;
// A longer name is no file name on either system.
inline constexpr size_t kMaxProgramName = 255;

std::filesystem::path ProgramRulesPath(const std::filesystem::path& appDirectory);

// What reading the rules found. A missing file holds no rules. A damaged file (a value it could
// not have been written with) counts as no rules and is never written over.
enum class RulesFound { Read, Missing, Unreadable, Damaged };

struct RulesRead {
    RulesFound found = RulesFound::Missing;
    ProgramRules rules;  // none unless found is Read
};

RulesRead ReadProgramRules(const ini::Snapshot& file);
RulesRead LoadProgramRules(const std::filesystem::path& file);

// How an edit of the rules file went.
enum class RulesSaved { Saved, Unchanged, Unreadable, Damaged, Busy, Failed };

// One read-modify-replace of the rules file under its write lock: edit gets the rules the file
// holds now and returns false to leave the file alone. A file that cannot be read or is damaged
// is left as it is.
RulesSaved EditProgramRules(const std::filesystem::path& file, const std::function<bool(ProgramRules&)>& edit);

// The program's file name from a path or a name alone, either separator taken.
std::string ProgramFileName(std::string_view pathOrName);
// A name a rule can hold: not empty, not too long, no separator and no control character.
bool IsProgramName(std::string_view name);
// A window class a rule can hold: no control character (empty is allowed).
bool IsWindowClassName(std::string_view name);

bool SameProgramName(std::string_view a, std::string_view b, bool ignoreCase);

// Adds rule, replacing one for the same program and window class. Adding the first rule turns
// following on: it is off until the user has a rule.
void AddRule(ProgramRules& rules, ProgramRule rule, bool ignoreCase);
// Removes every rule of program, whatever its window class; false when there was none.
bool RemoveRules(ProgramRules& rules, std::string_view program, bool ignoreCase);

// The profile the rules choose for front: that of a rule naming its program and its window
// class, else of one naming its program without a class, else the "no rule" choice
// (kKeepProfile: none).
int32_t ChosenProfile(const ProgramRules& rules, const FrontProgram& front, bool ignoreCase);
// The rule ChosenProfile took, or nullptr when none matched.
const ProgramRule* MatchingRule(const ProgramRules& rules, const FrontProgram& front, bool ignoreCase);

}  // namespace orv
