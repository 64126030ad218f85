#include "host/file_replacement.h"

#include "framework/platform/interrupt_cleanup.h"
#include "framework/platform/standard_stream.h"
#include "host/terminal_text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <system_error>

namespace tavrin21::host {

namespace {

namespace fs = std::filesystem;

// ".results.csv.1f2e3d4c.tmp" beside "results.csv": hidden, and unlikely to meet another run's.
std::string TemporaryPathBeside(const fs::path& target) {
    std::random_device random;
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
    return (target.parent_path() / ("." + target.filename().string() + "." + suffix + ".tmp"))
        .string();
}

}  // namespace

std::filesystem::path Followed(const std::string& name) {
    constexpr int kMostLinks = 40;
    fs::path path = name;
    for (int link = 0; link < kMostLinks; ++link) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error))) {
            break;
        }
        const fs::path target = fs::read_symlink(path, error);
        if (error) {
            break;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

FileReplacement::FileReplacement(const std::string& path, const std::string& purpose) {
    const fs::path target = Followed(path);
    target_ = target.string();
    // The system's own view of the name, through every link: a link may lead where no path
    // does (/dev/stdout to a pipe).
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    const bool standardStream = framework::IsStandardStream(path);
    const bool replaceable =
        !standardStream && (!fs::exists(status) || fs::is_regular_file(status));
    temporary_ = replaceable ? TemporaryPathBeside(target) : std::string();
    // A standard stream is written as the shell left it (appending, where it appends), not cut
    // to nothing.
    file_.open(replaceable ? temporary_ : path,
               std::ios::binary | (standardStream ? std::ios::app : std::ios::trunc));
    if (!file_) {
        const int reason = errno;
        throw std::runtime_error("cannot create " + Printable(path) + purpose + ": " +
                                 std::strerror(reason));
    }
    if (replaceable) {
        framework::RemoveOnInterrupt(temporary_);
    }
}

FileReplacement::~FileReplacement() {
    if (committed_ || temporary_.empty()) {
        return;
    }
    framework::ForgetOnInterrupt();
    file_.close();
    std::error_code ignored;
    fs::remove(temporary_, ignored);
}

std::optional<int> FileReplacement::Commit() {
    errno = 0;
    file_.close();
    if (!file_) {
        return errno;
    }
    committed_ = true;
    if (temporary_.empty()) {
        return std::nullopt;
    }
    framework::ForgetOnInterrupt();
    std::error_code error;
    fs::rename(temporary_, target_, error);
    if (error) {
        committed_ = false;
        throw std::runtime_error("cannot rename " + Printable(temporary_) + " to " +
                                 Printable(target_) + ": " + error.message());
    }
    return std::nullopt;
}

}  // namespace tavrin21::host
