#include "framework/platform/file_io_system.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace framework::platform {

int OpenForReading(const std::filesystem::path& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    if (descriptor >= 0 && (::fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode))) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

int CreateForWriting(const std::filesystem::path& path) {
    constexpr mode_t kReadWrite = S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kReadWrite);
}

long ReadFrom(int descriptor, void* buffer, std::size_t bytes) {
    ssize_t count;
    do {
        count = ::read(descriptor, buffer, bytes);
    } while (count < 0 && errno == EINTR);
    return static_cast<long>(count);
}

long WriteTo(int descriptor, const void* buffer, std::size_t bytes) {
    ssize_t count;
    do {
        count = ::write(descriptor, buffer, bytes);
    } while (count < 0 && errno == EINTR);
    return static_cast<long>(count);
}

void CloseDescriptor(int descriptor) noexcept {
    ::close(descriptor);
}

}  // namespace framework::platform
