#include "tests/host/host_program.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace tavrin21::test {

namespace {

std::string ShellWord(const std::string& text) {
    std::string word = "'";
    for (const char c : text) {
        word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return word + "'";
}

}  // namespace

std::string FileText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

ProgramRun RunHostProgram(const std::filesystem::path& scratch,
                          const std::vector<std::string>& arguments) {
    const std::filesystem::path out = scratch / "program.out";
    const std::filesystem::path err = scratch / "program.err";
    std::string command = ShellWord(TAVRIN21_HOST_PATH);
    for (const std::string& argument : arguments) {
        command += " " + ShellWord(argument);
    }
    command += " >" + ShellWord(out.string()) + " 2>" + ShellWord(err.string());
    const int status = std::system(command.c_str());
    ProgramRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = FileText(out);
    run.err = FileText(err);
    return run;
}

}  // namespace tavrin21::test
