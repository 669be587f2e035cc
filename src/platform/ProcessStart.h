#pragma once
#include <string>
#include <vector>

namespace orv {

// The program's arguments as UTF-8, whatever the system's code page (Windows hands main() its
// arguments in the ANSI code page, where names in other scripts are lost).
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Standard output and error write "\n" as "\n" on every system, so the command line's output is
// the same bytes wherever it runs.
void UseBinaryStandardStreams();

}  // namespace orv
