#include "host/result_output.h"

#include "host/terminal_text.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace tavrin21::host {

ResultOutput::ResultOutput(std::ostream& standardOutput, const std::string& path)
    : standardOutput_(standardOutput), path_(path) {
    if (!path_.empty()) {
        file_.emplace(path_, " for the results");
    }
}

void ResultOutput::Flush() {
    errno = 0;
    Stream().flush();
    if (!Stream()) {
        ThrowWriteError(errno);
    }
}

void ResultOutput::Complete() {
    Flush();
    if (!file_) {
        return;
    }
    if (const std::optional<int> error = file_->Commit()) {
        ThrowWriteError(*error);
    }
}

void ResultOutput::ThrowWriteError(int error) const {
    const std::string name = path_.empty() ? std::string("standard output") : Printable(path_);
    throw std::runtime_error(
        "cannot write the results to " + name +
        (error != 0 ? std::string(": ") + std::strerror(error) : std::string()));
}

}  // namespace tavrin21::host
