#pragma once
#include <vector>

#include "platform/Launcher.h"

namespace orv::test {

// Starts nothing; keeps what it was asked to start.
class RecordingLauncher : public Launcher {
public:
    void Launch(Program program) override { launched.push_back(program); }

    std::vector<Program> launched;
};

}  // namespace orv::test
