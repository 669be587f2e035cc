#pragma once
#include <memory>

namespace orv {

class Trace;

enum class Program { Calculator, CommandPrompt };

// Starts the programs a button can be assigned to. Always by an absolute path found in a
// system location, never by a bare name that the current or the program's folder could shadow.
class Launcher {
public:
    virtual ~Launcher() = default;
    virtual void Launch(Program program) = 0;
};

std::unique_ptr<Launcher> CreateSystemLauncher();

// For --simulate: starts nothing and reports "launch calc" or "launch cmd" to the trace.
std::unique_ptr<Launcher> CreateTracingLauncher(Trace& trace);

}  // namespace orv
