// rules list | rules add PROGRAM N [CLASS] | rules remove PROGRAM
#include <cstdio>

#include "cli/Cli.h"
#include "common/TerminalText.h"
#include "common/Utf.h"
#include "settings/ProgramRules.h"

namespace orv::cli {

namespace {

std::filesystem::path RulesFile(const Context& c) { return ProgramRulesPath(c.dir); }

std::string Shown(std::string_view text) { return EscapeControlCharacters(Utf8ToUtf16(text)); }

int Damaged(Context& c) {
    std::fprintf(c.err, "%s is damaged: fix or remove it\n", PathToUtf8(RulesFile(c)).c_str());
    return kExitFailure;
}

int List(Context& c) {
    const RulesRead read = LoadProgramRules(RulesFile(c));
    if (read.found == RulesFound::Unreadable) {
        return CannotRead(c, RulesFile(c));
    }
    if (read.found == RulesFound::Damaged) {
        return Damaged(c);
    }
    const ProgramRules& rules = read.rules;
    std::fprintf(c.out, "following=%s\n", rules.enabled ? "on" : "off");
    if (rules.noRuleProfile == kKeepProfile) {
        std::fprintf(c.out, "no-rule=keep\n");
    } else {
        std::fprintf(c.out, "no-rule=%d\n", rules.noRuleProfile);
    }
    for (const ProgramRule& rule : rules.rules) {
        std::fprintf(c.out, "%s profile=%d", Shown(rule.program).c_str(), rule.profile);
        if (!rule.windowClass.empty()) {
            std::fprintf(c.out, " class=%s", Shown(rule.windowClass).c_str());
        }
        std::fprintf(c.out, "\n");
    }
    return kExitOk;
}

int Edited(Context& c, RulesSaved saved) {
    switch (saved) {
    case RulesSaved::Saved:
    case RulesSaved::Unchanged:
        return kExitOk;
    case RulesSaved::Unreadable:
        return CannotRead(c, RulesFile(c));
    case RulesSaved::Damaged:
        return Damaged(c);
    case RulesSaved::Busy:
        return CannotWrite(c, RulesFile(c), WriteResult::Kind::Busy);
    case RulesSaved::Failed:
        break;
    }
    return CannotWrite(c, RulesFile(c), WriteResult::Kind::Failed);
}

int Add(Context& c, std::span<const std::string> args) {
    // A path names its program as well: the rule keeps the file name.
    ProgramRule rule{ProgramFileName(args[0]), args.size() == 3 ? args[2] : "", 0};
    const auto profile = ParseIntArgument(args[1]);
    if (!profile || *profile < 1 || *profile > 5) {
        std::fprintf(c.err, "profile must be 1 to 5: %s\n", args[1].c_str());
        return kExitUsage;
    }
    rule.profile = *profile;
    if (!IsProgramName(rule.program)) {
        std::fprintf(c.err, "not a program's file name: %s\n", Shown(args[0]).c_str());
        return kExitUsage;
    }
    if (!IsWindowClassName(rule.windowClass)) {
        std::fprintf(c.err, "not a window class: %s\n", Shown(rule.windowClass).c_str());
        return kExitUsage;
    }
    return Edited(c, EditProgramRules(RulesFile(c), [&](ProgramRules& rules) {
                      AddRule(rules, rule, ProgramNamesIgnoreCase());
                      return true;
                  }));
}

int Remove(Context& c, const std::string& program) {
    bool found = false;
    const RulesSaved saved = EditProgramRules(RulesFile(c), [&](ProgramRules& rules) {
        found = RemoveRules(rules, ProgramFileName(program), ProgramNamesIgnoreCase());
        return found;
    });
    if (saved == RulesSaved::Unchanged && !found) {
        std::fprintf(c.err, "no rule for %s\n", Shown(program).c_str());
        return kExitFailure;
    }
    return Edited(c, saved);
}

int Rules(Context& c, std::span<const std::string> args) {
    if (args.size() == 1 && args[0] == "list") {
        return List(c);
    }
    if ((args.size() == 3 || args.size() == 4) && args[0] == "add") {
        return Add(c, args.subspan(1));
    }
    if (args.size() == 2 && args[0] == "remove") {
        return Remove(c, args[1]);
    }
    return UsageError(c, "rules");
}

const CommandRegistration kRules{"rules", "rules list | rules add PROGRAM N [CLASS] | rules remove PROGRAM", &Rules};

}  // namespace

}  // namespace orv::cli
