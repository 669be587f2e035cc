#include "settings/ProgramRules.h"

#include <algorithm>
#include <optional>

#include "common/Decimal.h"

namespace orv {

namespace {

constexpr const char* kFollow = "Follow";
constexpr size_t kNumberChars = 16;
// Long enough for any name IsProgramName takes, in UTF-16 units, with a quote pair around it.
constexpr size_t kNameChars = 4 * kMaxProgramName + 4;

std::string RuleSection(int i) { return "Rule" + FormatDecimal(i); }

// A whole number from lo to hi written in decimal; an empty text reads as fallback. Anything
// else is a value this program never writes.
std::optional<int32_t> Strict(const std::string& text, int32_t lo, int32_t hi, int32_t fallback) {
    if (text.empty()) {
        return fallback;
    }
    if (text.size() > 9 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const int32_t n = ParseDecimal(text);
    if (n < lo || n > hi) {
        return std::nullopt;
    }
    return n;
}

bool HasControl(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

// Blanks around a value and one pair of quotes fall away on reading: quoted, a name comes back
// as it was written.
std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

char Fold(char c, bool ignoreCase) { return ignoreCase && c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool ReadRules(const ini::Snapshot& file, ProgramRules& rules) {
    static constexpr ini::KeyRead kFollowKeys[] = {
        {"Enabled", kNumberChars}, {"NoRule", kNumberChars}, {"Rules", kNumberChars}};
    const auto follow = file.ReadKeys(kFollow, kFollowKeys);
    if (!follow) {
        return true;
    }
    const auto enabled = Strict((*follow)[0], 0, 1, 0);
    const auto noRule = Strict((*follow)[1], 0, 5, kKeepProfile);
    const auto count = Strict((*follow)[2], 0, kMaxProgramRules, 0);
    if (!enabled || !noRule || !count) {
        return false;
    }
    rules.enabled = *enabled == 1;
    rules.noRuleProfile = *noRule;
    static constexpr ini::KeyRead kRuleKeys[] = {
        {"Program", kNameChars}, {"WindowClass", kNameChars}, {"Profile", kNumberChars}};
    for (int i = 1; i <= *count; ++i) {
        const auto keys = file.ReadKeys(RuleSection(i), kRuleKeys);
        if (!keys) {
            return false;
        }
        // A rule names its profile: without one the section is damaged, not profile 0.
        const auto profile = (*keys)[2].empty() ? std::nullopt : Strict((*keys)[2], 1, 5, 1);
        if (!IsProgramName((*keys)[0]) || !IsWindowClassName((*keys)[1]) || !profile) {
            return false;
        }
        rules.rules.push_back({(*keys)[0], (*keys)[1], *profile});
    }
    return true;
}

void WriteRules(ini::FileUpdate& update, const ProgramRules& rules, size_t before) {
    const std::string enabled = rules.enabled ? "1" : "0";
    const std::string noRule = FormatDecimal(rules.noRuleProfile);
    const std::string count = FormatDecimal(static_cast<int64_t>(rules.rules.size()));
    const std::pair<std::string_view, std::string_view> follow[] = {
        {"Enabled", enabled}, {"NoRule", noRule}, {"Rules", count}};
    update.Write(kFollow, follow);
    for (size_t i = 0; i < std::max(before, rules.rules.size()); ++i) {
        // A rule removed from the end leaves its section empty, which nothing reads: the count
        // says how many rules there are.
        const ProgramRule* rule = i < rules.rules.size() ? &rules.rules[i] : nullptr;
        const std::string program = rule ? Quoted(rule->program) : "";
        const std::string windowClass = rule ? Quoted(rule->windowClass) : "";
        const std::string profile = rule ? FormatDecimal(rule->profile) : "";
        const std::pair<std::string_view, std::string_view> keys[] = {
            {"Program", program}, {"WindowClass", windowClass}, {"Profile", profile}};
        update.Write(RuleSection(static_cast<int>(i + 1)), keys);
    }
}

}  // namespace

std::filesystem::path ProgramRulesPath(const std::filesystem::path& appDirectory) {
    return appDirectory / "AppProfiles.ini";
}

RulesRead ReadProgramRules(const ini::Snapshot& file) {
    switch (file.State()) {
    case ini::FileState::Missing:
        return {RulesFound::Missing, {}};
    case ini::FileState::Unreadable:
        return {RulesFound::Unreadable, {}};
    case ini::FileState::Read:
        break;
    }
    RulesRead read{RulesFound::Read, {}};
    if (!ReadRules(file, read.rules)) {
        return {RulesFound::Damaged, {}};
    }
    return read;
}

RulesRead LoadProgramRules(const std::filesystem::path& file) { return ReadProgramRules(ini::Snapshot(file)); }

RulesSaved EditProgramRules(const std::filesystem::path& file, const std::function<bool(ProgramRules&)>& edit) {
    ini::FileUpdate update(file);
    if (update.Busy()) {
        return RulesSaved::Busy;
    }
    RulesRead read = ReadProgramRules(update.Contents());
    if (read.found == RulesFound::Unreadable) {
        return RulesSaved::Unreadable;
    }
    if (read.found == RulesFound::Damaged) {
        return RulesSaved::Damaged;
    }
    const size_t before = read.rules.rules.size();
    if (!edit(read.rules)) {
        return RulesSaved::Unchanged;
    }
    WriteRules(update, read.rules, before);
    const WriteResult written = update.Commit();
    if (written.Busy()) {
        return RulesSaved::Busy;
    }
    return written ? RulesSaved::Saved : RulesSaved::Failed;
}

std::string ProgramFileName(std::string_view pathOrName) {
    const size_t slash = pathOrName.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? pathOrName : pathOrName.substr(slash + 1));
}

bool IsProgramName(std::string_view name) {
    return !name.empty() && name.size() <= kMaxProgramName && name.find_first_of("/\\") == std::string_view::npos &&
           !HasControl(name);
}

bool IsWindowClassName(std::string_view name) { return name.size() <= kMaxProgramName && !HasControl(name); }

bool SameProgramName(std::string_view a, std::string_view b, bool ignoreCase) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return Fold(x, ignoreCase) == Fold(y, ignoreCase); });
}

void AddRule(ProgramRules& rules, ProgramRule rule, bool ignoreCase) {
    if (rules.rules.empty()) {
        rules.enabled = true;
    }
    for (ProgramRule& r : rules.rules) {
        if (SameProgramName(r.program, rule.program, ignoreCase) &&
            SameProgramName(r.windowClass, rule.windowClass, ignoreCase)) {
            r = std::move(rule);
            return;
        }
    }
    rules.rules.push_back(std::move(rule));
}

bool RemoveRules(ProgramRules& rules, std::string_view program, bool ignoreCase) {
    return std::erase_if(rules.rules,
                         [&](const ProgramRule& r) { return SameProgramName(r.program, program, ignoreCase); }) > 0;
}

const ProgramRule* MatchingRule(const ProgramRules& rules, const FrontProgram& front, bool ignoreCase) {
    const ProgramRule* anyWindow = nullptr;
    for (const ProgramRule& r : rules.rules) {
        if (!SameProgramName(r.program, front.program, ignoreCase)) {
            continue;
        }
        if (r.windowClass.empty()) {
            anyWindow = anyWindow ? anyWindow : &r;
        } else if (SameProgramName(r.windowClass, front.windowClass, ignoreCase)) {
            return &r;
        }
    }
    return anyWindow;
}

int32_t ChosenProfile(const ProgramRules& rules, const FrontProgram& front, bool ignoreCase) {
    const ProgramRule* rule = MatchingRule(rules, front, ignoreCase);
    return rule ? rule->profile : rules.noRuleProfile;
}

}  // namespace orv
