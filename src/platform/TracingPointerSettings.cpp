#include <string>

#include "common/Trace.h"
#include "platform/PointerSettings.h"

namespace orv {

namespace {

// The simulated system: it always answers, so every change reaches the trace.
class TracingPointerSettings : public PointerSettings {
public:
    explicit TracingPointerSettings(Trace& trace) : trace_(trace) {}

    bool QueryPointerSpeed(int& speed) override {
        speed = speed_;
        return true;
    }
    bool SetPointerSpeed(int speed) override {
        speed_ = speed;
        trace_.Line("pointer-speed " + std::to_string(speed));
        return true;
    }
    bool QueryWheelLines(int& lines) override {
        lines = lines_;
        return true;
    }
    bool SetWheelLines(int lines) override {
        lines_ = lines;
        trace_.Line("wheel-lines " + std::to_string(lines));
        return true;
    }

private:
    Trace& trace_;
    int speed_ = 10;
    int lines_ = 3;
};

}  // namespace

std::unique_ptr<PointerSettings> CreateTracingPointerSettings(Trace& trace) {
    return std::make_unique<TracingPointerSettings>(trace);
}

}  // namespace orv
