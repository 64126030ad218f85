#include "framework/platform/process.h"

#include <cstdio>

namespace framework {

std::optional<ProgramRun> RunProgram(const std::string& commandLine) {
    FILE* pipe = _popen(commandLine.c_str(), "r");
    if (pipe == nullptr) {
        return std::nullopt;
    }
    ProgramRun run;
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, pipe) != nullptr) {
        run.output += chunk;
    }
    // _pclose gives the program's exit code itself.
    const int exitCode = _pclose(pipe);
    if (exitCode == -1) {
        return std::nullopt;
    }
    run.exitCode = exitCode;
    return run;
}

}  // namespace framework
