// Feeds the macro recorder arbitrary keystroke sequences, with a clock that jumps arbitrarily
// (backwards across midnight too), against a model of its rules: never more than 216 events
// nor nine held keys, each event the key and action typed, each pause the time since the
// previous event within 0..65535 ms, and the newest event's pause 30 ms.
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "common/TimeOfDay.h"
#include "macro/KeyCodes.h"
#include "macro/MacroRecorder.h"
#include "macro/MacroStore.h"
#include "FuzzCheck.h"

namespace {

using namespace orv;

class SetTime : public TimeOfDay {
public:
    int32_t Milliseconds() override { return now; }
    int32_t now = 0;
};

constexpr std::array<KeyMessage, 4> kMessages{KeyMessage::KeyDown, KeyMessage::KeyUp, KeyMessage::SysKeyDown,
                                              KeyMessage::SysKeyUp};

// What the recorder should do, kept apart from it.
struct Model {
    int slot = 0;
    int count = 0;
    std::vector<uint8_t> held;
    KeyMessage lastMessage{};
    uint8_t lastKey = 0;
    int32_t lastEventTime = 0;

    // Whether the keystroke becomes an event.
    bool Capture(KeyMessage message, uint8_t key, int pressLines) {
        if (message == lastMessage && key == lastKey) {
            return false;
        }
        if (count >= MacroRecorder::kMaxEvents) {
            lastMessage = message;
            lastKey = key;
            return false;
        }
        const bool press = IsKeyDown(message);
        if (press && (pressLines >= MacroRecorder::kMaxPressLines || held.size() == MacroRecorder::kHeldKeySlots)) {
            return false;
        }
        if (press) {
            held.push_back(key);
        } else {
            const auto found = std::find(held.begin(), held.end(), key);
            if (found == held.end()) {
                return false;
            }
            held.erase(found);
        }
        lastMessage = message;
        lastKey = key;
        return true;
    }

    uint16_t Pause(int32_t now) {
        int32_t elapsed = now - lastEventTime;
        lastEventTime = now;
        if (elapsed < 0) {
            elapsed += TimeOfDay::kMillisecondsPerDay;
        }
        return static_cast<uint16_t>(std::min<int32_t>(elapsed, MacroRecorder::kMaxDelay));
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MacroStore store;
    SetTime clock;
    MacroRecorder recorder(store, clock);
    Model model;
    recorder.Start(0);

    size_t at = 0;
    auto next = [&] { return at < size ? data[at++] : uint8_t{0}; };
    while (at < size) {
        const uint8_t op = next();
        if (op >= 0xF8) {
            // Stop, and start again in some slot (out of range too).
            recorder.Stop();
            FUZZ_CHECK(store.User(model.slot).eventCount() == model.count);
            const int slot = static_cast<int8_t>(next());
            recorder.Start(slot);
            model.slot = std::clamp(slot, 0, MacroStore::kUserSlots - 1);
            model.count = 0;
            model.held.clear();
            FUZZ_CHECK(recorder.RecordSlot() == model.slot);
            continue;
        }
        if (op >= 0xF0) {
            // The clock jumps anywhere in the day.
            const int32_t high = next();
            const int32_t middle = next();
            const int32_t low = next();
            clock.now = ((high << 16 | middle << 8 | low) * 7) % TimeOfDay::kMillisecondsPerDay;
            continue;
        }
        const KeyMessage message = kMessages[op % kMessages.size()];
        const uint8_t key = next();
        const int pressLines = next() % 128;
        clock.now = (clock.now + (op >> 2) * (op >> 2) * 5) % TimeOfDay::kMillisecondsPerDay;

        const int before = recorder.RecordCount();
        const std::optional<int> event = recorder.Capture(message, key, pressLines);
        const bool expected = model.Capture(message, key, pressLines);
        FUZZ_CHECK(event.has_value() == expected);
        FUZZ_CHECK(recorder.RecordCount() <= MacroRecorder::kMaxEvents);
        FUZZ_CHECK(recorder.RecordHeldKeys().size() <= MacroRecorder::kHeldKeySlots);
        FUZZ_CHECK(std::equal(model.held.begin(), model.held.end(), recorder.RecordHeldKeys().begin(),
                              recorder.RecordHeldKeys().end()));
        if (!event) {
            FUZZ_CHECK(recorder.RecordCount() == before);
            continue;
        }
        FUZZ_CHECK(*event == model.count && recorder.RecordCount() == ++model.count);
        const MacroSlot& slot = store.User(model.slot);
        const auto k = static_cast<size_t>(*event);
        FUZZ_CHECK(slot.EventKey(k) == UsageFromVirtualKey(key));
        FUZZ_CHECK(slot.EventAction(k) == (IsKeyDown(message) ? MacroSlot::kPress : MacroSlot::kRelease));
        const uint16_t pause = model.Pause(clock.now);
        if (k > 0) {
            FUZZ_CHECK(slot.Delay(k - 1) == pause);
            FUZZ_CHECK(slot.Delay(k) == MacroRecorder::kNewestEventDelay);
        }
    }
    recorder.Stop();
    FUZZ_CHECK(store.User(model.slot).eventCount() == model.count);
    return 0;
}
