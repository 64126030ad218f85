#pragma once

// Running the built host program as a user does, with its output and exit code.

#include <filesystem>
#include <string>
#include <vector>

namespace tavrin21::test {

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs tavrin21-host with `arguments` (each passed as one word), its output caught in files
// under `scratch`.
ProgramRun RunHostProgram(const std::filesystem::path& scratch,
                          const std::vector<std::string>& arguments);

// The text of the file at `path`.
std::string FileText(const std::filesystem::path& path);

}  // namespace tavrin21::test
