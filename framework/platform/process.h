#pragma once

// Running another program through the system's command interpreter.

#include "framework/platform/export.h"

#include <optional>
#include <string>

namespace framework {

struct ProgramRun {
    int exitCode = 0;
    std::string output;  // what it wrote to its standard output
};

// Runs `commandLine` with the system's shell and waits for it; nothing when it could not be
// started or did not end by exiting.
FRAMEWORK_API std::optional<ProgramRun> RunProgram(const std::string& commandLine);

}  // namespace framework
