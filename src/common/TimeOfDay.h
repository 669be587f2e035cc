#pragma once
#include <cstdint>

namespace orv {

// The time of day in UTC, in milliseconds since midnight (0 .. 86,399,999): what recording
// measures the pauses between keystrokes with. Replaceable in tests.
class TimeOfDay {
public:
    static constexpr int32_t kMillisecondsPerDay = 86'400'000;

    virtual ~TimeOfDay() = default;
    virtual int32_t Milliseconds() = 0;
};

// The system's clock.
TimeOfDay& SystemTimeOfDay();

}  // namespace orv
