#include "framework/platform/process.h"

#include <cstdio>
#include <sys/wait.h>

namespace framework {

std::optional<ProgramRun> RunProgram(const std::string& commandLine) {
    FILE* pipe = popen(commandLine.c_str(), "r");
    if (pipe == nullptr) {
        return std::nullopt;
    }
    ProgramRun run;
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, pipe) != nullptr) {
        run.output += chunk;
    }
    const int status = pclose(pipe);
    if (status == -1 || !WIFEXITED(status)) {
        return std::nullopt;
    }
    run.exitCode = WEXITSTATUS(status);
    return run;
}

}  // namespace framework
