#include "host/result_output.h"

#include "framework/platform/interrupt_cleanup.h"
#include "host/terminal_text.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <stdexcept>

namespace tavrin21::host {

namespace {

// ".results.csv.1f2e3d4c.tmp" beside "results.csv": hidden, and unlikely to meet another run's.
std::string TemporaryPathBeside(const std::string& path) {
    const std::filesystem::path target(path);
    std::random_device random;
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
    return (target.parent_path() / ("." + target.filename().string() + "." + suffix + ".tmp"))
        .string();
}

}  // namespace

ResultOutput::ResultOutput(std::ostream& standardOutput, const std::string& path)
    : standardOutput_(standardOutput), path_(path) {
    if (path_.empty()) {
        return;
    }
    temporaryPath_ = TemporaryPathBeside(path_);
    file_.open(temporaryPath_, std::ios::binary | std::ios::trunc);
    if (!file_) {
        const int error = errno;
        throw std::runtime_error("cannot create " + Printable(temporaryPath_) +
                                 " for the results: " + std::strerror(error));
    }
    framework::RemoveOnInterrupt(temporaryPath_);
}

ResultOutput::~ResultOutput() {
    if (!path_.empty() && !completed_) {
        framework::ForgetOnInterrupt();
        file_.close();
        std::error_code ignored;
        std::filesystem::remove(temporaryPath_, ignored);
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
    if (path_.empty()) {
        return;
    }
    errno = 0;
    file_.close();
    if (!file_) {
        ThrowWriteError(errno);
    }
    std::error_code error;
    framework::ForgetOnInterrupt();
    std::filesystem::rename(temporaryPath_, path_, error);
    if (error) {
        throw std::runtime_error("cannot rename " + Printable(temporaryPath_) + " to " +
                                 Printable(path_) + ": " + error.message());
    }
    completed_ = true;
}

void ResultOutput::ThrowWriteError(int error) const {
    const std::string name = path_.empty() ? std::string("standard output") : Printable(path_);
    throw std::runtime_error(
        "cannot write the results to " + name +
        (error != 0 ? std::string(": ") + std::strerror(error) : std::string()));
}

}  // namespace tavrin21::host
