#include "common/Trace.h"
#include "platform/Launcher.h"

namespace orv {

namespace {

class TracingLauncher : public Launcher {
public:
    explicit TracingLauncher(Trace& trace) : trace_(trace) {}
    void Launch(Program program) override {
        trace_.Line(program == Program::Calculator ? "launch calc" : "launch cmd");
    }

private:
    Trace& trace_;
};

}  // namespace

std::unique_ptr<Launcher> CreateTracingLauncher(Trace& trace) { return std::make_unique<TracingLauncher>(trace); }

}  // namespace orv
