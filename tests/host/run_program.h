#pragma once

// Runs the host program as a user does, through the shell, and collects what it printed.

#include "framework/platform/process.h"

#include <string>

namespace tavrin21::test {

struct ProgramRun {
    int exitCode = -1;
    std::string output;  // what the shell command leaves on its standard output
};

inline std::string HostProgram() {
    return TAVRIN21_HOST_PATH;
}

// Runs `command` with the system's shell: the host program (HostProgram()) with redirections
// and pipes. An exit code of -1 when it could not be started or did not end by exiting.
inline ProgramRun RunShell(const std::string& command) {
    const auto run = framework::RunProgram(command);
    return run ? ProgramRun{run->exitCode, run->output} : ProgramRun{};
}

}  // namespace tavrin21::test
