#include "platform/ProcessStart.h"

namespace orv {

std::vector<std::string> CommandLineArguments(int argc, char** argv) { return {argv, argv + argc}; }

void UseBinaryStandardStreams() {}

}  // namespace orv
