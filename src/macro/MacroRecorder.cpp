#include "macro/MacroRecorder.h"

#include <algorithm>

#include "macro/KeyCodes.h"

namespace orv {

void MacroRecorder::Start(int slot) {
    recordHeldKeys_.fill(0);
    recordHeldCount_ = 0;
    recordSlot_ = std::clamp(slot, 0, MacroStore::kUserSlots - 1);
    recordCount_ = 0;
}

void MacroRecorder::Stop() {
    const auto held = store_.lock.Hold();
    store_.User(recordSlot_).SetEventCount(static_cast<uint8_t>(recordCount_));
}

// An auto-repeat repeats the last message exactly and is skipped; so is a key message that is
// refused, which leaves the last message as it was.
std::optional<int> MacroRecorder::Capture(KeyMessage message, uint8_t virtualKey, int pressLines) {
    if (message == lastMessage_ && virtualKey == lastKey_) {
        return std::nullopt;
    }
    if (recordCount_ >= kMaxEvents) {
        lastMessage_ = message;
        lastKey_ = virtualKey;
        return std::nullopt;
    }
    const bool press = IsKeyDown(message);
    if (press && pressLines >= kMaxPressLines) {
        return std::nullopt;
    }
    if (press ? !Hold(virtualKey) : !Release(virtualKey)) {
        return std::nullopt;
    }
    StoreEvent(virtualKey, press ? MacroSlot::kPress : MacroSlot::kRelease, MeasureEventDelay());
    lastMessage_ = message;
    lastKey_ = virtualKey;
    return recordCount_++;
}

uint16_t MacroRecorder::MeasureEventDelay() {
    const int32_t now = clock_.Milliseconds();
    int32_t elapsed = now - lastEventTime_;
    lastEventTime_ = now;
    if (elapsed < 0) {
        elapsed += TimeOfDay::kMillisecondsPerDay;
    }
    return static_cast<uint16_t>(std::min<int32_t>(elapsed, kMaxDelay));
}

bool MacroRecorder::Hold(uint8_t virtualKey) {
    if (recordHeldCount_ == recordHeldKeys_.size()) {
        return false;
    }
    recordHeldKeys_[recordHeldCount_++] = virtualKey;
    return true;
}

bool MacroRecorder::Release(uint8_t virtualKey) {
    const auto held = recordHeldKeys_.begin() + static_cast<std::ptrdiff_t>(recordHeldCount_);
    const auto found = std::find(recordHeldKeys_.begin(), held, virtualKey);
    if (found == held) {
        return false;
    }
    std::copy(found + 1, held, found);
    recordHeldKeys_[--recordHeldCount_] = 0;
    return true;
}

// The first event of a recording keeps the delay of the cleared slot, 0; every later one
// gives its predecessor the measured pause and holds the newest event's pause itself until
// the next event replaces it.
void MacroRecorder::StoreEvent(uint8_t virtualKey, uint8_t action, uint16_t delay) {
    MacroSlot& slot = store_.User(recordSlot_);
    const auto k = static_cast<size_t>(recordCount_);
    const auto held = store_.lock.Hold();
    slot.SetEvent(k, UsageFromVirtualKey(virtualKey), action, slot.Delay(k));
    if (k > 0) {
        slot.SetDelay(k - 1, delay);
        slot.SetDelay(k, kNewestEventDelay);
    }
}

}  // namespace orv
