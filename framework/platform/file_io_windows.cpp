#include "framework/platform/file_io.h"
#include "framework/platform/windows_path.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <io.h>
#include <sys/stat.h>
#include <utility>

#include <climits>

namespace framework {

namespace {

// The runtime's calls take and return int counts.
unsigned int ClampedCount(std::size_t bytes) {
    return static_cast<unsigned int>(std::min<std::size_t>(bytes, INT_MAX));
}

}  // namespace

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
    return LowLevelFile(_wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT));
}

LowLevelFile LowLevelFile::CreateForWriting(std::string_view windowsPath) {
    const std::filesystem::path path = HostPath(windowsPath);
    if (path.empty()) {
        return LowLevelFile(-1);
    }
    return LowLevelFile(_wopen(path.c_str(),
                               _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                               _S_IREAD | _S_IWRITE));
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
    return _read(descriptor_, buffer, ClampedCount(bytes));
}

long LowLevelFile::Write(const void* buffer, std::size_t bytes) {
    if (!IsOpen()) {
        return -1;
    }
    return _write(descriptor_, buffer, ClampedCount(bytes));
}

void LowLevelFile::Close() noexcept {
    if (descriptor_ >= 0) {
        _close(descriptor_);
        descriptor_ = -1;
    }
}

}  // namespace framework
