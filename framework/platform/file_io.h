#pragma once

// Files named by Windows paths (mapped by HostPath, windows_path.h), read and written in binary
// with the runtime library's low-level calls, and found the way Windows finds them.

#include "framework/platform/export.h"

#include <cstddef>
#include <string_view>

namespace framework {

// Whether a file or folder lies at `windowsPath`.
FRAMEWORK_API bool FindFile(std::string_view windowsPath);

// One open file; closed when destroyed. Move-only.
class FRAMEWORK_API LowLevelFile {
  public:
    // Opens an existing file for reading. A folder is not a file to read: Windows refuses to
    // open one, so this does too.
    static LowLevelFile OpenForReading(std::string_view windowsPath);
    // Creates the file for writing, or cuts an existing one to length zero; a new file may be
    // read and written.
    static LowLevelFile CreateForWriting(std::string_view windowsPath);

    LowLevelFile(LowLevelFile&& other) noexcept;
    LowLevelFile& operator=(LowLevelFile&& other) noexcept;
    LowLevelFile(const LowLevelFile&) = delete;
    LowLevelFile& operator=(const LowLevelFile&) = delete;
    ~LowLevelFile();

    bool IsOpen() const { return descriptor_ >= 0; }

    // The number of bytes read (0 at the end of the file) or written, or -1 on an error.
    long Read(void* buffer, std::size_t bytes);
    long Write(const void* buffer, std::size_t bytes);

    void Close() noexcept;

  private:
    explicit LowLevelFile(int descriptor) : descriptor_(descriptor) {}

    int descriptor_ = -1;
};

}  // namespace framework
