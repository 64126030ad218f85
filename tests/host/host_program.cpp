#include "tests/host/host_program.h"

#include <fstream>
#include <sstream>

namespace tavrin21::test {

std::string FileText(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

namespace {

// `path`, with no file left there from an earlier run.
std::filesystem::path Fresh(const std::filesystem::path& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return path;
}

std::vector<std::string> HostCommand(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{TAVRIN21_HOST_PATH};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return command;
}

}  // namespace

StartedHostProgram::StartedHostProgram(const std::filesystem::path& scratch,
                                       const std::vector<std::string>& arguments)
    : errorFile_(Fresh(scratch / "program.err")),
      program_(HostCommand(arguments), errorFile_.string()) {}

ProgramRun StartedHostProgram::Finish() {
    ProgramRun run;
    if (const auto finished = program_.Finish()) {
        run.exitCode = finished->exitCode;
        run.out = finished->output;
    }
    run.err = FileText(errorFile_);
    return run;
}

ProgramRun RunHostProgram(const std::filesystem::path& scratch,
                          const std::vector<std::string>& arguments) {
    return StartedHostProgram(scratch, arguments).Finish();
}

}  // namespace tavrin21::test
