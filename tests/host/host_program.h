#pragma once

// Running the built host program as a user does, with its output and exit code.

#include "framework/platform/process.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tavrin21::test {

struct ProgramRun {
    int exitCode = -1;  // -1 when it could not be started or did not end by exiting
    std::string out;
    std::string err;
};

// The host program started with `arguments` (each passed as one word); its standard error is
// caught in a file under `scratch`.
class StartedHostProgram {
  public:
    StartedHostProgram(const std::filesystem::path& scratch,
                       const std::vector<std::string>& arguments);
    // Waits for it to end.
    ProgramRun Finish();

  private:
    std::filesystem::path errorFile_;
    framework::StartedProgram program_;
};

// Runs tavrin21-host with `arguments` and waits for it.
ProgramRun RunHostProgram(const std::filesystem::path& scratch,
                          const std::vector<std::string>& arguments);

// The text of the file at `path`, read in the system's text mode, as a program's standard error
// is written.
std::string FileText(const std::filesystem::path& path);

}  // namespace tavrin21::test
