#include "framework/platform/process_system.h"

#include <sys/wait.h>

namespace framework::platform {

namespace {

// Single quotes keep every character but the quote itself, which is closed, escaped and reopened.
std::string ShellWord(const std::string& text) {
    std::string word = "'";
    for (const char c : text) {
        word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return word + "'";
}

}  // namespace

std::string CommandLineOf(const std::vector<std::string>& arguments, const std::string& errorFile) {
    std::string line;
    for (const std::string& argument : arguments) {
        line += (line.empty() ? "" : " ") + ShellWord(argument);
    }
    if (!errorFile.empty()) {
        line += " 2>" + ShellWord(errorFile);
    }
    return line;
}

std::FILE* OpenPipeFrom(const std::string& commandLine) {
    return popen(commandLine.c_str(), "r");
}

std::optional<int> ClosePipe(std::FILE* pipe) {
    const int status = pclose(pipe);
    if (status == -1 || !WIFEXITED(status)) {
        return std::nullopt;
    }
    return WEXITSTATUS(status);
}

}  // namespace framework::platform
