#include "framework/platform/file_io.h"

#include "framework/platform/windows_path.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace framework {

bool FindFile(std::string_view windowsPath) {
    const std::filesystem::path path = HostPath(windowsPath);
    std::error_code error;
    return !path.empty() && std::filesystem::exists(path, error);
}

LowLevelFile LowLevelFile::OpenForReading(std::string_view windowsPath) {
    const std::filesystem::path path = HostPath(windowsPath);
    if (path.empty()) {
        return LowLevelFile(-1);
    }
    LowLevelFile file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status {};
    if (file.IsOpen() && (::fstat(file.descriptor_, &status) != 0 || S_ISDIR(status.st_mode))) {
        file.Close();
    }
    return file;
}

LowLevelFile LowLevelFile::CreateForWriting(std::string_view windowsPath) {
    const std::filesystem::path path = HostPath(windowsPath);
    if (path.empty()) {
        return LowLevelFile(-1);
    }
    constexpr mode_t kReadWrite = S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;
    return LowLevelFile(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kReadWrite));
}

LowLevelFile::LowLevelFile(LowLevelFile&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)) {}

LowLevelFile& LowLevelFile::operator=(LowLevelFile&& other) noexcept {
    if (this != &other) {
        Close();
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

LowLevelFile::~LowLevelFile() {
    Close();
}

long LowLevelFile::Read(void* buffer, std::size_t bytes) {
    if (!IsOpen()) {
        return -1;
    }
    ssize_t count;
    do {
        count = ::read(descriptor_, buffer, bytes);
    } while (count < 0 && errno == EINTR);
    return static_cast<long>(count);
}

long LowLevelFile::Write(const void* buffer, std::size_t bytes) {
    if (!IsOpen()) {
        return -1;
    }
    ssize_t count;
    do {
        count = ::write(descriptor_, buffer, bytes);
    } while (count < 0 && errno == EINTR);
    return static_cast<long>(count);
}

void LowLevelFile::Close() noexcept {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
}

}  // namespace framework
