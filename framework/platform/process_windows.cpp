#include "framework/platform/process_system.h"

#include <filesystem>

namespace framework::platform {

namespace {

// A word as the runtime's start-up code splits a command line: in double quotes, with each
// quote escaped by a backslash and the backslashes before a quote (or the closing one) doubled.
std::string QuotedWord(const std::string& text) {
    std::string word = "\"";
    std::size_t backslashes = 0;
    for (const char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        word.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        word += c;
        backslashes = 0;
    }
    word.append(2 * backslashes, '\\');
    return word + "\"";
}

}  // namespace

std::string CommandLineOf(const std::vector<std::string>& arguments, const std::string& errorFile) {
    std::string line;
    for (const std::string& argument : arguments) {
        // The command interpreter takes a slash in the program's name for a switch.
        const std::string word =
            line.empty() ? std::filesystem::path(argument).make_preferred().string() : argument;
        line += (line.empty() ? "" : " ") + QuotedWord(word);
    }
    if (!errorFile.empty()) {
        line += " 2>" + QuotedWord(std::filesystem::path(errorFile).make_preferred().string());
    }
    // cmd /c drops the first and the last quote of a line that starts with one; these are they.
    return "\"" + line + "\"";
}

std::FILE* OpenPipeFrom(const std::string& commandLine) {
    return _popen(commandLine.c_str(), "r");
}

std::optional<int> ClosePipe(std::FILE* pipe) {
    // _pclose gives the program's exit code itself.
    const int exitCode = _pclose(pipe);
    if (exitCode == -1) {
        return std::nullopt;
    }
    return exitCode;
}

}  // namespace framework::platform
