#include "framework/platform/file_io.h"
#include "framework/platform/file_io_system.h"
#include "framework/platform/windows_path.h"

#include <filesystem>
#include <utility>

namespace framework {

bool FindFile(std::string_view windowsPath) {
    const std::filesystem::path path = HostPath(windowsPath);
    std::error_code error;
    return !path.empty() && std::filesystem::exists(path, error);
}

LowLevelFile LowLevelFile::OpenForReading(std::string_view windowsPath) {
    const std::filesystem::path path = HostPath(windowsPath);
    return LowLevelFile(path.empty() ? -1 : platform::OpenForReading(path));
}

LowLevelFile LowLevelFile::CreateForWriting(std::string_view windowsPath) {
    const std::filesystem::path path = HostPath(windowsPath);
    return LowLevelFile(path.empty() ? -1 : platform::CreateForWriting(path));
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
    return IsOpen() ? platform::ReadFrom(descriptor_, buffer, bytes) : -1;
}

long LowLevelFile::Write(const void* buffer, std::size_t bytes) {
    return IsOpen() ? platform::WriteTo(descriptor_, buffer, bytes) : -1;
}

void LowLevelFile::Close() noexcept {
    if (descriptor_ >= 0) {
        platform::CloseDescriptor(std::exchange(descriptor_, -1));
    }
}

}  // namespace framework
