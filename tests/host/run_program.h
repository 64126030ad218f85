#pragma once

// Runs the host program as a user does, through the shell, and collects what it printed.

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace tavrin21::test {

struct ProgramRun {
    int exitCode = -1;
    std::string output;  // what the shell command leaves on its standard output
};

inline std::string HostProgram() { return TAVRIN21_HOST_PATH; }

// Reads what a command started with popen writes, and waits for it to end.
inline ProgramRun FinishProgram(FILE* pipe) {
    ProgramRun run;
    char chunk[4096];
    for (std::size_t read; (read = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
        run.output.append(chunk, read);
    }
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// Runs `command` with /bin/sh: the host program (HostProgram()) with redirections and pipes.
inline ProgramRun RunShell(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    return pipe == nullptr ? ProgramRun{} : FinishProgram(pipe);
}

}  // namespace tavrin21::test
