#pragma once

// Copying a file byte for byte, as the library files are made from their templates.

#include <cstddef>
#include <string>

namespace tavrin21 {

// FileCopy results.
inline constexpr int kCopyDone = 0;
inline constexpr int kCopySourceNotOpened = 1;
inline constexpr int kCopyDestinationNotCreated = 2;
inline constexpr int kCopyIncomplete = 3;  // a short write or a read error
inline constexpr int kCopyNoMemory = 6;

// The copy buffer, and the smaller one tried when memory is short.
inline constexpr std::size_t kCopyBufferBytes = 16384;
inline constexpr std::size_t kCopyFallbackBufferBytes = 1024;

// Copies the file at `source` to `destination` (Windows paths). The destination is created, or
// cut to length zero, even when the source cannot be opened, so a missing source leaves an
// empty destination behind. Returns one of the statuses above; kCopyDestinationNotCreated
// when neither file could be opened. Without memory for a buffer no file is touched.
int FileCopy(const std::string& destination, const std::string& source);

}  // namespace tavrin21
