#pragma once
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <thread>

#include "common/Relaxed.h"
#include "common/WriteResult.h"
#include "macro/MacroStore.h"
#include "platform/PreciseSleep.h"

namespace orv {

class FeatureReport;
class Launcher;
struct AppliedState;
struct PlaybackFlags;
struct ProfileSettings;

// Everything playback reads, writes and sends through; all owned by the caller and alive
// while playback runs.
struct PlaybackContext {
    FeatureReport& reports;
    PlaybackFlags& flags;
    ProfileSettings& settings;    // dpiLevel and reportRate follow the mouse's own changes
    const AppliedState& applied;  // DpiReportFlag, RateCycleFlag
    const MacroStore& store;
    Launcher& launcher;
    Clock& clock;
    Sleeper& sleeper;
    std::filesystem::path configPath;
    const Relaxed<int32_t>& currentProfile;  // the section the mouse's own changes are saved into
    std::function<void()> repaint;           // may be empty
    // A change the mouse made itself could not be saved into config.ini (how the write went);
    // may be empty.
    std::function<void(WriteResult)> notSaved;
};

// The consumer-page usage sent for multimedia FunctionCode 21 + index (index 0..9); 0 for an
// index outside the table.
uint16_t ConsumerUsageForFunction(int index);

// The playing side of playback: what one press does, and the key and button state it holds
// on the mouse. Used by one thread at a time.
//
// Every pause is measured from the moment the previous report was sent and waited for
// against an absolute deadline, so time spent sending or computing never shortens a pause and
// a long macro does not drift by more than the sleeps overshoot.
class MacroPlayer {
public:
    static constexpr auto kMinimumEventPause = std::chrono::milliseconds(15);
    static constexpr auto kReleasePause = std::chrono::milliseconds(10);
    static constexpr int kHoldPasses = 10000;

    explicit MacroPlayer(const PlaybackContext& context) : c_(context) {}

    // What the press of the button with event code TriggerCode asks for, for every button
    // that matches it.
    void ServeTrigger(uint8_t triggerCode);

    // Passes of a user macro (hold mode, repeat, or once) or a constant macro (once).
    int PassCount(const MacroSlot& slot, bool userMacro) const;
    // Plays passes of slot, each from a copy taken under the store's slot lock; a StopRequest
    // ends it at the end of a pass.
    void PlayMacro(const MacroSlot& slot, int passes);

    // Raised when the thread is to end: the pause under way ends at once, the playing macro
    // skips its remaining events and pauses and ends with the two release reports (with their
    // own short pauses), so no key stays held and ending never waits for a long macro.
    void SetAbort(const SleepInterrupt* abort) { abort_ = abort; }

    void SendMacroEvent(uint8_t key, uint8_t action);
    void ReleaseMacroKeys();

    const std::array<uint8_t, 6>& HeldKeys() const { return heldKeys_; }
    uint8_t MouseButtonMask() const { return mouseButtonMask_; }

private:
    void ServeButton(size_t button);
    void Saved(WriteResult saved) const;
    // Waits out the pending pause; false when the abort cut it short.
    bool WaitForPause(bool interruptible);
    bool Aborted() const { return abort_ != nullptr && abort_->Raised(); }
    void MarkSent();

    PlaybackContext c_;
    std::array<uint8_t, 6> heldKeys_{};
    uint8_t mouseButtonMask_ = 0xFF;
    SteadyTime lastSent_{};
    std::chrono::milliseconds pending_{0};
    const SleepInterrupt* abort_ = nullptr;
};

// The thread that serves the listener's flags. While nothing plays it sleeps on the
// listener's event, so it costs no wake-ups when idle and still serves a press at once and
// clears a stop request raised while idle at once.
class MacroPlaybackThread {
public:
    explicit MacroPlaybackThread(const PlaybackContext& context);
    ~MacroPlaybackThread();
    MacroPlaybackThread(const MacroPlaybackThread&) = delete;
    MacroPlaybackThread& operator=(const MacroPlaybackThread&) = delete;

    void Start();
    // Ends the thread: a macro that plays is cut short and its keys and buttons released
    // before this returns.
    void Stop();
    // No press is waiting or being served.
    bool Idle() const;

private:
    void Run();

    MacroPlayer player_;
    PlaybackFlags& flags_;
    SleepInterrupt stop_;
    std::thread thread_;
};

}  // namespace orv
