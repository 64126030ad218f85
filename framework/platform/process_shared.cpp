#include "framework/platform/process.h"
#include "framework/platform/process_system.h"

#include <utility>

namespace framework {

namespace {

std::optional<ProgramRun> ReadToEndAndClose(std::FILE* pipe) {
    if (pipe == nullptr) {
        return std::nullopt;
    }
    ProgramRun run;
    char chunk[4096];
    for (std::size_t read; (read = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
        run.output.append(chunk, read);
    }
    const std::optional<int> exitCode = platform::ClosePipe(pipe);
    if (!exitCode) {
        return std::nullopt;
    }
    run.exitCode = *exitCode;
    return run;
}

}  // namespace

StartedProgram::StartedProgram(const std::vector<std::string>& arguments,
                               const std::string& errorFile)
    : pipe_(platform::OpenPipeFrom(platform::CommandLineOf(arguments, errorFile))) {}

StartedProgram::~StartedProgram() {
    Finish();
}

std::optional<ProgramRun> StartedProgram::Finish() {
    return ReadToEndAndClose(std::exchange(pipe_, nullptr));
}

std::optional<ProgramRun> RunProgram(const std::vector<std::string>& arguments,
                                     const std::string& errorFile) {
    return StartedProgram(arguments, errorFile).Finish();
}

std::optional<ProgramRun> RunCommandLine(const std::string& commandLine) {
    return ReadToEndAndClose(platform::OpenPipeFrom(commandLine));
}

}  // namespace framework
