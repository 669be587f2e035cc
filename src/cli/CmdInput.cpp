// input [@MS:]HEX … — the mouse sends input reports while the listener and playback run.
#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

#include "cli/Cli.h"
#include "common/Utf.h"
#include "platform/EndRequests.h"
#include "platform/PreciseSleep.h"
#include "session/Session.h"

namespace orv::cli {

namespace {

using namespace std::chrono_literals;

constexpr auto kLastReportGrace = 60s;
// A script is a test of a few moments; a longer wait is a typing error, not a plan.
constexpr int kLongestReportDelayMs = 60'000;

struct TimedReport {
    std::chrono::milliseconds at{0};
    std::vector<uint8_t> bytes;
};

int HexDigit(char ch) {
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

std::optional<TimedReport> ParseReport(std::string_view text) {
    TimedReport report;
    if (!text.empty() && text.front() == '@') {
        const size_t colon = text.find(':');
        if (colon == std::string_view::npos) {
            return std::nullopt;
        }
        const auto ms = ParseIntArgument(text.substr(1, colon - 1));
        if (!ms || *ms < 0 || *ms > kLongestReportDelayMs) {
            return std::nullopt;
        }
        report.at = std::chrono::milliseconds(*ms);
        text.remove_prefix(colon + 1);
    }
    if (text.empty() || text.size() % 2 != 0) {
        return std::nullopt;
    }
    for (size_t i = 0; i < text.size(); i += 2) {
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        report.bytes.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    return report;
}

int Input(Context& c, std::span<const std::string> args) {
    if (args.empty()) {
        return UsageError(c, "input");
    }
    if (!c.simulate) {
        std::fprintf(c.err, "input needs --simulate: only the simulated mouse can be told what to send\n");
        return kExitUsage;
    }
    std::vector<TimedReport> script;
    for (const std::string& arg : args) {
        const auto report = ParseReport(arg);
        if (!report) {
            std::fprintf(c.err, "not an input report: %s\n", arg.c_str());
            return UsageError(c, "input");
        }
        script.push_back(*report);
    }

    // A script may play for minutes; ended from outside, the command still lets go of what the
    // mouse holds.
    const EndRequests ends;
    Session session(c.Folders(), c.simulate, c.trace, c.messages, RunAtOnce);
    if (session.LoadConfiguration() == ProfileFound::Unreadable) {
        return CannotRead(c, c.ConfigPath());
    }
    if (const auto macros = session.LoadMacros(); !macros.unreadable.empty()) {
        return CannotRead(c, macros.unreadable.front());
    }
    session.FindDevice();
    const ApplyResult result = session.ApplyProfile();
    // Playing on a mouse that did not take its profile would try something other than asked.
    if (result.reportsFailed > 0) {
        std::fprintf(c.err, "the mouse did not take %d of %d reports\n", result.reportsFailed,
                     result.reportsFailed + result.reportsSent);
        return kExitFailure;
    }
    if (!result.saved) {
        return CannotWrite(c, c.ConfigPath(), result.saved);
    }
    const SteadyTime appliedAt = SystemClock().Now();
    session.StartThreads();

    for (const TimedReport& report : script) {
        if (!session.PreciseSleeper().InterruptibleSleepUntil(appliedAt + report.at, ends.Raised())) {
            break;
        }
        session.SimulateInput(report.bytes);
    }
    const bool served = session.WaitUntilInputServed(SystemClock().Now() + kLastReportGrace, &ends.Raised());
    session.StopThreads();
    if (ends.Received()) {
        return ends.ExitStatus();
    }
    if (!served) {
        std::fprintf(c.err, "playback still running %lld s after the last report\n",
                     static_cast<long long>(kLastReportGrace.count()));
        return kExitFailure;
    }
    return kExitOk;
}

const CommandRegistration kInput{"input", "input [@MS:]HEX ...", &Input};

}  // namespace

}  // namespace orv::cli
