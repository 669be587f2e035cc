// input [@MS:]HEX … — the mouse sends input reports while the listener and playback run.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "cli/Cli.h"
#include "common/Utf.h"
#include "device/DeviceLink.h"
#include "device/FeatureReport.h"
#include "device/InputListener.h"
#include "device/SimulatedMouse.h"
#include "macro/MacroFile.h"
#include "macro/MacroPlayback.h"
#include "platform/Launcher.h"
#include "platform/PointerSettings.h"
#include "platform/PreciseSleep.h"
#include "settings/ApplyProfile.h"
#include "settings/ConfigFile.h"

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
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
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

// Counts the reads the listener begins. When it begins read n + 1 it has finished handling
// report n, flags included, which is what "every report was taken" has to mean.
class CountingTransport : public HidTransport {
public:
    explicit CountingTransport(HidTransport& inner) : inner_(inner) {}
    std::vector<HidCollectionInfo> Enumerate(size_t maxInterfaces) override { return inner_.Enumerate(maxInterfaces); }
    std::unique_ptr<HidHandle> Open(const HidCollectionInfo& collection, HidAccess access) override {
        auto handle = inner_.Open(collection, access);
        return handle ? std::make_unique<Handle>(std::move(handle), readsBegun_) : nullptr;
    }
    uint64_t ReadsBegun() const { return readsBegun_.load(); }

private:
    class Handle : public HidHandle {
    public:
        Handle(std::unique_ptr<HidHandle> inner, std::atomic<uint64_t>& reads) : inner_(std::move(inner)), reads_(reads) {}
        bool SendFeatureReport(std::span<const uint8_t> report) override { return inner_->SendFeatureReport(report); }
        HidReadResult ReadInputReport(std::span<uint8_t> buffer) override {
            reads_.fetch_add(1);
            return inner_->ReadInputReport(buffer);
        }
        void CancelRead() override { inner_->CancelRead(); }

    private:
        std::unique_ptr<HidHandle> inner_;
        std::atomic<uint64_t>& reads_;
    };

    HidTransport& inner_;
    std::atomic<uint64_t> readsBegun_{0};
};

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

    const std::filesystem::path config = c.ConfigPath();
    const int32_t currentProfile = LoadCurrentProfile(config);
    const Language language = LoadLanguage(config);
    SimulatedMouse mouse(&c.trace);
    CountingTransport transport(mouse);
    DeviceLink link(transport);
    link.FindDevice();
    FeatureReport reports(link);
    ProfileSettings settings;
    if (LoadProfile(config, currentProfile, false, language, settings) == ProfileFound::Unreadable) {
        return CannotRead(c, config);
    }
    MacroStore store;
    for (const auto& [file, target] : {std::pair{UserMacroFileFor(c.dir, language), MacroTarget::User},
                                       std::pair{ConstantMacroFile(c.dir), MacroTarget::Constant}}) {
        if (LoadMacroFile(file, target, store, c.messages) == ini::FileState::Unreadable) {
            return CannotRead(c, file);
        }
    }
    AppliedState applied;
    const auto pointer = CreateTracingPointerSettings(c.trace);
    const ApplyResult result = ApplyProfile(settings, currentProfile, applied, {reports, *pointer, config, {}});
    // Playing on a mouse that did not take its profile would try something other than asked.
    if (result.reportsFailed > 0) {
        std::fprintf(c.err, "the mouse did not take %d of %d reports\n", result.reportsFailed,
                     result.reportsFailed + result.reportsSent);
        return kExitFailure;
    }
    if (!result.saved) {
        std::fprintf(c.err, "cannot write %s\n", PathToUtf8(config).c_str());
        return kExitFailure;
    }
    const SteadyTime appliedAt = SystemClock().Now();

    PlaybackFlags flags;
    const auto launcher = CreateTracingLauncher(c.trace);
    const auto sleeper = CreatePreciseSleeper();
    MacroPlaybackThread playback({reports, flags, settings, applied, store, *launcher, SystemClock(), *sleeper, config,
                                  [currentProfile] { return currentProfile; }, {}});
    InputListenerThread listener(link, settings.macroMode, flags);
    listener.Start();
    playback.Start();

    for (const TimedReport& report : script) {
        sleeper->SleepUntil(appliedAt + report.at);
        mouse.SendInputReport(report.bytes);
    }
    const SteadyTime limit = SystemClock().Now() + kLastReportGrace;
    const uint64_t readsNeeded = script.size() + 1;
    bool done = false;
    while (!(done = transport.ReadsBegun() >= readsNeeded && playback.Idle()) && SystemClock().Now() < limit) {
        std::this_thread::sleep_for(1ms);
    }
    listener.Stop();
    playback.Stop();
    if (!done) {
        std::fprintf(c.err, "playback still running %lld s after the last report\n",
                     static_cast<long long>(kLastReportGrace.count()));
        return kExitFailure;
    }
    return kExitOk;
}

const CommandRegistration kInput{"input", "input [@MS:]HEX ...", &Input};

}  // namespace

}  // namespace orv::cli
