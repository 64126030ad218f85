#pragma once

// Running another program and reading what it writes to its standard output.

#include "framework/platform/export.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace framework {

struct ProgramRun {
    int exitCode = 0;
    std::string output;  // what it wrote to its standard output, lines ending in '\n'
};

// A program started with its standard output read through a pipe; waited for when destroyed.
class FRAMEWORK_API StartedProgram {
  public:
    // Starts the program `arguments[0]` with the other elements as its arguments, each reaching
    // it as one word, whatever characters it holds. Its standard error goes to the file
    // `errorFile`, or where ours goes when that is empty.
    explicit StartedProgram(const std::vector<std::string>& arguments,
                            const std::string& errorFile = {});
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;
    ~StartedProgram();

    // Reads its output to the end and waits for it; nothing when it could not be started or did
    // not end by exiting.
    std::optional<ProgramRun> Finish();

  private:
    std::FILE* pipe_ = nullptr;
};

// Starts the program as StartedProgram does and finishes it.
FRAMEWORK_API std::optional<ProgramRun> RunProgram(const std::vector<std::string>& arguments,
                                                   const std::string& errorFile = {});

// Runs `commandLine` with the system's command interpreter (its syntax is the system's own) and
// finishes it.
FRAMEWORK_API std::optional<ProgramRun> RunCommandLine(const std::string& commandLine);

}  // namespace framework
