#pragma once
#include <string>
#include <vector>

#include "platform/PointerSettings.h"

namespace orv::test {

// Records each change the system was asked for, in the trace's words ("pointer-speed 8");
// its queries answer 7 and 3, or fail on request.
class RecordingPointerSettings : public PointerSettings {
public:
    bool QueryPointerSpeed(int& speed) override {
        speed = 7;
        return speedAnswers;
    }
    bool SetPointerSpeed(int speed) override {
        log.push_back("pointer-speed " + std::to_string(speed));
        return true;
    }
    bool QueryWheelLines(int& lines) override {
        lines = 3;
        return linesAnswer;
    }
    bool SetWheelLines(int lines) override {
        log.push_back("wheel-lines " + std::to_string(lines));
        return true;
    }

    bool speedAnswers = true;
    bool linesAnswer = true;
    std::vector<std::string> log;
};

}  // namespace orv::test
