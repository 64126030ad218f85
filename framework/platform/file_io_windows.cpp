#include "framework/platform/file_io_system.h"

#include <algorithm>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <climits>

namespace framework::platform {

namespace {

// The runtime's calls take and return int counts.
unsigned int ClampedCount(std::size_t bytes) {
    return static_cast<unsigned int>(std::min<std::size_t>(bytes, INT_MAX));
}

}  // namespace

// Windows itself refuses to open a folder as a file.
int OpenForReading(const std::filesystem::path& path) {
    return _wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

int CreateForWriting(const std::filesystem::path& path) {
    return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
}

long ReadFrom(int descriptor, void* buffer, std::size_t bytes) {
    return _read(descriptor, buffer, ClampedCount(bytes));
}

long WriteTo(int descriptor, const void* buffer, std::size_t bytes) {
    return _write(descriptor, buffer, ClampedCount(bytes));
}

void CloseDescriptor(int descriptor) noexcept {
    _close(descriptor);
}

}  // namespace framework::platform
