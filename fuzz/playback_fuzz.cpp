// Feeds the input listener's report handling and macro playback, as the two threads run them,
// with arbitrary profiles, macros and input-report sequences on a fake clock: reports arrive
// while playback waits out its pauses, and the run ends once they are used up. After every
// press served no key or button stays held, only key, button and consumer reports went out,
// the DPI level and report rate stay in range, and no pause ends before an earlier one.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "device/DeviceLink.h"
#include "device/FeatureReport.h"
#include "device/InputListener.h"
#include "device/SimulatedMouse.h"
#include "fakes/FakeTime.h"
#include "fakes/RecordingLauncher.h"
#include "macro/MacroPlayback.h"
#include "platform/PreciseSleep.h"
#include "settings/ApplyProfile.h"
#include "settings/ProfileSettings.h"
#include "FuzzCheck.h"
#include "FuzzInput.h"

namespace {

using namespace orv;
using fuzz::Input;

// Keys a macro may hold: keyboard usages, the three mouse buttons, a code beyond them, none.
constexpr std::array<uint8_t, 8> kKeys{0x04, 0x05, 0xE1, 0xF0, 0xF1, 0xF2, 0xF5, 0x00};

void FillSlot(MacroSlot& slot, uint8_t b, Input& in) {
    const size_t events = b % 5;
    for (size_t k = 0; k < events; ++k) {
        const uint8_t e = in.Byte();
        slot.SetEvent(k, kKeys[e % kKeys.size()], static_cast<uint8_t>(1 + (e >> 3) % 3),
                      static_cast<uint16_t>((e >> 5) * 9));
    }
    slot.SetEventCount(static_cast<uint8_t>(events));
    slot.SetRepeatOn((b & 0x80) != 0 ? 1 : 0);
    slot.SetRepeatCount(static_cast<uint16_t>((b >> 3) % 4));
}

// An input report of 3 to 8 bytes, mostly with the input report's ID.
std::vector<uint8_t> NextReport(Input& in) {
    const uint8_t head = in.Byte();
    std::vector<uint8_t> report(3 + head % 6);
    for (size_t i = 1; i < report.size(); ++i) {
        report[i] = in.Byte();
    }
    report[0] = (head & 0x80) != 0 ? in.Byte() : kInputReportId;
    return report;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    SimulatedMouse mouse;
    DeviceLink link(mouse);
    FUZZ_CHECK(link.FindDevice());
    FeatureReport reports(link);
    PlaybackFlags flags;
    ProfileSettings settings;
    AppliedState applied;
    MacroStore store;
    test::RecordingLauncher launcher;
    test::FakeTime time;
    const Relaxed<int32_t> profile{1};

    settings.macroMode = in.Byte() % 2;
    for (size_t i = 0; i < settings.buttonFunction.size(); ++i) {
        settings.buttonFunction[i] = in.Byte();
        const FunctionCodeInfo& function = DescribeFunctionCode(settings.buttonFunction[i]);
        applied.DpiReportFlag[i] = function.flag == ReportFlag::DpiReport ? 1 : 0;
        applied.RateCycleFlag[i] = function.flag == ReportFlag::RateCycle ? 1 : 0;
    }
    settings.dpiLevel = in.Byte() % 4;
    settings.reportRate = static_cast<uint8_t>(in.Byte() % 4);
    for (int i = 0; i < MacroStore::kUserSlots; ++i) {
        FillSlot(store.User(i), in.Byte(), in);
    }
    for (int c = 0; c < MacroStore::kConstantSlots; ++c) {
        FillSlot(store.Constant(c), in.Byte(), in);
    }

    // Saving a followed DPI level or report rate fails at once: the folder does not exist.
    const PlaybackContext context{
        reports, flags, settings, applied, store, launcher, time, time, "/nonexistent-orv-fuzz/config.ini",
        profile, {},    {}};
    MacroPlayer player(context);
    SleepInterrupt end;
    player.SetAbort(&end);
    const int32_t macroMode = settings.macroMode;
    auto deliver = [&] {
        if (in.Empty()) {
            end.Raise();
            return;
        }
        const std::vector<uint8_t> report = NextReport(in);
        HandleInputReport(report, macroMode, flags);
    };
    // The listener reads on while playback sleeps.
    time.onSleep = [&](size_t) { deliver(); };

    while (!in.Empty()) {
        deliver();
        while (flags.PlaybackActive.load() != 0) {
            mouse.ClearReports();
            player.ServeTrigger(flags.TriggerCode.load());
            flags.PlaybackActive.store(0);
            flags.StopRequest.store(0);

            for (const uint8_t held : player.HeldKeys()) {
                FUZZ_CHECK(held == 0);
            }
            FUZZ_CHECK((player.MouseButtonMask() & 0x07) == 0x07);
            for (const auto& sent : mouse.Reports()) {
                FUZZ_CHECK(sent.bytes.size() >= 2 && sent.bytes[0] == kFeatureReportId);
                FUZZ_CHECK(sent.bytes[1] == command::kHeldKeys || sent.bytes[1] == command::kMouseButtons ||
                           sent.bytes[1] == command::kConsumerUsage);
            }
            FUZZ_CHECK(settings.dpiLevel >= 0 && settings.dpiLevel < 4);
            FUZZ_CHECK(settings.reportRate < 4);
        }
        flags.StopRequest.store(0);
    }
    for (size_t i = 1; i < time.deadlines.size(); ++i) {
        FUZZ_CHECK(time.deadlines[i - 1] <= time.deadlines[i]);
    }
    return 0;
}
