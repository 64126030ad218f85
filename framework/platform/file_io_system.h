#pragma once

// The system's side of LowLevelFile: its runtime library's calls on file descriptors.

#include <cstddef>
#include <filesystem>

namespace framework::platform {

// A descriptor of the existing file at `path` opened for reading, -1 when there is none or it is
// a folder.
int OpenForReading(const std::filesystem::path& path);
// A descriptor of the file at `path`, created or cut to length zero, for writing; -1 on failure.
int CreateForWriting(const std::filesystem::path& path);
// The number of bytes read (0 at the end of the file) or written, or -1 on an error.
long ReadFrom(int descriptor, void* buffer, std::size_t bytes);
long WriteTo(int descriptor, const void* buffer, std::size_t bytes);
void CloseDescriptor(int descriptor) noexcept;

}  // namespace framework::platform
