#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "common/TimeOfDay.h"
#include "macro/MacroStore.h"
#include "platform/KeyboardCapture.h"

namespace orv {

// Turns captured keystrokes into the events of a user macro: each press and release becomes
// one event with the key's usage, and each event's delay is the pause until the next one. The
// editor decides when a recording starts and stops and shows the events as they come.
class MacroRecorder {
public:
    static constexpr int kMaxEvents = 216;
    static constexpr int kMaxPressLines = 108;
    static constexpr size_t kHeldKeySlots = 9;
    static constexpr uint16_t kNewestEventDelay = 30;
    static constexpr uint16_t kMaxDelay = 65535;

    MacroRecorder(MacroStore& store, TimeOfDay& clock) : store_(store), clock_(clock) {}

    // Records into user slot (0..11) from its event 0 on, with no key held. The last key
    // message and the time of the last event carry over from the previous recording.
    void Start(int slot);
    // The slot's eventCount becomes the number of events recorded. Keys still held get no
    // release events.
    void Stop();

    // One keystroke. pressLines is the number of press lines the event list shows; a press is
    // refused once it reaches kMaxPressLines. Gives the index of the event recorded, if any.
    //
    // A press while nine recorded keys are held is not recorded, and so its release is ignored
    // like that of a key held before the recording started: the held-key list never grows
    // beyond its nine entries.
    std::optional<int> Capture(KeyMessage message, uint8_t virtualKey, int pressLines);

    // Milliseconds since the previous call by the time of day, across midnight, at most
    // kMaxDelay.
    uint16_t MeasureEventDelay();

    int RecordSlot() const { return recordSlot_; }
    int RecordCount() const { return recordCount_; }
    std::span<const uint8_t> RecordHeldKeys() const { return std::span(recordHeldKeys_).first(recordHeldCount_); }

private:
    bool Hold(uint8_t virtualKey);
    bool Release(uint8_t virtualKey);
    void StoreEvent(uint8_t virtualKey, uint8_t action, uint16_t delay);

    MacroStore& store_;
    TimeOfDay& clock_;
    int recordSlot_ = 0;
    int recordCount_ = 0;
    std::array<uint8_t, kHeldKeySlots> recordHeldKeys_{};
    size_t recordHeldCount_ = 0;
    KeyMessage lastMessage_{};
    uint8_t lastKey_ = 0;
    int32_t lastEventTime_ = 0;
};

}  // namespace orv
