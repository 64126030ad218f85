#pragma once

// Where the results go: standard output as it is, or a file, replaced only when the run
// completes, so that a failed run leaves the file as it was (see FileReplacement).

#include "host/file_replacement.h"

#include <optional>
#include <ostream>
#include <string>

namespace tavrin21::host {

class ResultOutput {
  public:
    // `path` empty: `standardOutput`. Throws std::runtime_error when the file cannot be created.
    ResultOutput(std::ostream& standardOutput, const std::string& path);
    ResultOutput(const ResultOutput&) = delete;
    ResultOutput& operator=(const ResultOutput&) = delete;

    std::ostream& Stream() { return file_ ? file_->Stream() : standardOutput_; }

    // Hands what was written so far to the system. Throws std::runtime_error naming the output
    // and the system's reason when any write failed (a full disk, a closed pipe).
    void Flush();
    // Flushes, closes and puts the file in place. Throws as Flush.
    void Complete();

  private:
    [[noreturn]] void ThrowWriteError(int error) const;

    std::ostream& standardOutput_;
    std::string path_;
    std::optional<FileReplacement> file_;
};

}  // namespace tavrin21::host
