#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "common/TempFolder.h"
#include "device/DeviceLink.h"
#include "device/FeatureReport.h"
#include "device/InputListener.h"
#include "device/SimulatedMouse.h"
#include "fakes/Quiet.h"
#include "macro/MacroEditor.h"
#include "macro/MacroFile.h"
#include "macro/MacroPlayback.h"
#include "platform/FakeKeyboardCapture.h"
#include "platform/Launcher.h"
#include "settings/ApplyProfile.h"
#include "settings/ProfileSettings.h"

namespace orv {
namespace {

using namespace std::chrono_literals;

class StillTime : public TimeOfDay {
public:
    int32_t Milliseconds() override { return 0; }
};

// Every pause passes in a moment of real time, so playback runs through many passes while the
// window thread edits, and each pass still spans many of the editor's changes.
class QuickTime : public Clock, public Sleeper {
public:
    SteadyTime Now() override { return SteadyTime{} + std::chrono::milliseconds(now_.load()); }
    void SleepUntil(SteadyTime deadline) override {
        std::this_thread::sleep_for(20us);
        const auto target = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyTime{}).count();
        if (target > now_.load()) {
            now_.store(target);
        }
    }
    bool InterruptibleSleepUntil(SteadyTime deadline, const SleepInterrupt& interrupt) override {
        if (interrupt.Raised()) {
            return false;
        }
        SleepUntil(deadline);
        return true;
    }

private:
    std::atomic<long long> now_{0};
};

// User macro i presses and releases key 0x04 + i, i + 1 times. A pass that mixes two macros
// shows as a pass with two keys, or with a key and the wrong number of events.
void WriteMacroFile(const std::filesystem::path& file) {
    MacroStore macros;
    for (int i = 0; i < 4; ++i) {
        MacroSlot& slot = macros.User(i);
        slot.SetName(std::u16string(1, static_cast<char16_t>(u'a' + i)));
        const auto key = static_cast<uint8_t>(0x04 + i);
        for (int k = 0; k < 2 * (i + 1); ++k) {
            slot.SetEvent(static_cast<size_t>(k), key, static_cast<uint8_t>(1 + k % 2), 0);
        }
        slot.SetEventCount(static_cast<uint8_t>(2 * (i + 1)));
    }
    macros.macroCount = 4;
    ASSERT_TRUE(SaveMacroFile(file, macros));
}

// The window thread deletes and imports macros while playback plays user macro 0 over and
// over: slot 0 receives another macro at every delete (the others move down) and at every
// import. Every pass must still be one whole macro.
TEST(PlaybackDuringEdits, APassNeverPlaysAHalfMovedSlot) {
    test::TempFolder folder;
    const auto file = folder / "four.dat";
    WriteMacroFile(file);

    SimulatedMouse mouse;
    DeviceLink link(mouse);
    ASSERT_TRUE(link.FindDevice());
    FeatureReport reports(link);
    PlaybackFlags flags;
    ProfileSettings settings;
    AppliedState applied;
    MacroStore store;
    test::NoLauncher launcher;
    QuickTime time;
    const Relaxed<int32_t> currentProfile{1};
    const PlaybackContext context{
        reports, flags, settings, applied, store, launcher, time, time, folder / "config.ini", currentProfile, {}, {}};

    Relaxed<int32_t> macroMode{0};
    const Language language = Language::English();
    test::FakeKeyboardCapture capture;
    StillTime clock;
    test::NoMessages messages;
    test::NoEditorWindow window;
    MacroEditor editor({store, macroMode, language, capture, clock, messages, window});
    ASSERT_EQ(editor.ImportMacros(file), MacroImport::Done);

    std::thread playback([&] { MacroPlayer(context).PlayMacro(store.User(0), 1'000'000); });
    const bool started = mouse.WaitForReports(1, 30s);
    for (int round = 0; round < 150; ++round) {
        for (int deleted = 0; deleted < 3; ++deleted) {
            editor.OnMacroSelected(0);
            editor.DeleteMacro();
            std::this_thread::sleep_for(100us);
        }
        editor.ImportMacros(file);
    }
    const bool playedOn = mouse.WaitForReports(30, 30s);
    flags.StopRequest.store(1);
    playback.join();
    ASSERT_TRUE(started && playedOn);

    // Reports of a pass: one key report per event (the key held, then none), then the button
    // and key releases.
    const auto received = mouse.Reports();
    size_t passes = 0;
    size_t i = 0;
    while (i < received.size()) {
        size_t events = 0;
        uint8_t key = 0;
        bool oneKey = true;
        for (; i < received.size() && received[i].bytes[1] == 0x15; ++i, ++events) {
            const uint8_t held = received[i].bytes[2];
            if (events % 2 == 0) {
                oneKey = oneKey && (key == 0 || held == key);
                key = held;
            }
        }
        ASSERT_LT(i + 1, received.size());
        ASSERT_EQ(received[i].bytes[1], 0x16);
        i += 2;  // the button release and the key release
        ++passes;
        ASSERT_TRUE(oneKey) << "pass " << passes;
        if (events > 0) {
            ASSERT_EQ(events, 2u * (key - 0x04 + 1)) << "pass " << passes << " key " << int(key);
        }
    }
}

}  // namespace
}  // namespace orv
