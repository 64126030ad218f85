#pragma once

// Where the results go: standard output as it is, or a file. A file is written under a temporary
// name beside it and renamed into place only when the run completes, so a failed run leaves the
// file as it was.

#include <fstream>
#include <ostream>
#include <string>

namespace tavrin21::host {

class ResultOutput {
  public:
    // `path` empty: `standardOutput`. Throws std::runtime_error when the temporary file cannot
    // be created.
    ResultOutput(std::ostream& standardOutput, const std::string& path);
    // Removes the temporary file of a run that did not complete.
    ~ResultOutput();
    ResultOutput(const ResultOutput&) = delete;
    ResultOutput& operator=(const ResultOutput&) = delete;

    std::ostream& Stream() { return path_.empty() ? standardOutput_ : file_; }

    // Hands what was written so far to the system. Throws std::runtime_error naming the output
    // and the system's reason when any write failed (a full disk, a closed pipe).
    void Flush();
    // Flushes, closes and renames the temporary file to its name. Throws as Flush.
    void Complete();

  private:
    [[noreturn]] void ThrowWriteError(int error) const;

    std::ostream& standardOutput_;
    std::string path_;
    std::string temporaryPath_;
    std::ofstream file_;
    bool completed_ = false;
};

}  // namespace tavrin21::host
