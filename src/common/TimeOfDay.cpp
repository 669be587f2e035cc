#include "common/TimeOfDay.h"

#include <chrono>

namespace orv {

namespace {

// The system clock counts UTC from midnight of its epoch, without leap seconds, so the
// remainder of a day is the time of day.
class SystemClockTimeOfDay final : public TimeOfDay {
public:
    int32_t Milliseconds() override {
        using namespace std::chrono;
        const auto sinceEpoch = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
        const auto ofDay = sinceEpoch % kMillisecondsPerDay;
        return static_cast<int32_t>(ofDay < 0 ? ofDay + kMillisecondsPerDay : ofDay);
    }
};

}  // namespace

TimeOfDay& SystemTimeOfDay() {
    static SystemClockTimeOfDay clock;
    return clock;
}

}  // namespace orv
