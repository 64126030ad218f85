#pragma once

// The system's side of running a program: how a command line is written for its command
// interpreter, and the pipe to the program's standard output.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace framework::platform {

// The command line that runs `arguments` as words of their own, standard error into
// `errorFile` unless it is empty.
std::string CommandLineOf(const std::vector<std::string>& arguments, const std::string& errorFile);

// The pipe from the standard output of `commandLine`, read in the system's text mode; null when
// the command interpreter could not be started.
std::FILE* OpenPipeFrom(const std::string& commandLine);

// Waits for the program behind `pipe` and closes the pipe: its exit code, nothing when it did not
// end by exiting.
std::optional<int> ClosePipe(std::FILE* pipe);

}  // namespace framework::platform
