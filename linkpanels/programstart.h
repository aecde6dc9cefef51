// The common start of both programs: the command line (read before any
// window system is needed), the application's names, version and icon.
#pragma once

#include "commandline.h"

#include <functional>

namespace tarvo {

// Handles --help, --version and command-line errors without a display;
// otherwise creates the application and returns what run returns.
int runProgram(int argc, char* argv[], const ProgramInfo& info, const std::function<int(const CommandLine&)>& run);

}  // namespace tarvo
