#include "library/file_copy.h"

#include "framework/platform/file_io.h"
#include "framework/platform/local_memory.h"

#include <optional>

namespace tavrin21 {

int FileCopy(const std::string& destination, const std::string& source) {
    std::optional<framework::LocalBlock> buffer = framework::LocalBlock::Allocate(kCopyBufferBytes);
    if (!buffer) {
        buffer = framework::LocalBlock::Allocate(kCopyFallbackBufferBytes);
    }
    if (!buffer) {
        return kCopyNoMemory;
    }

    int status = kCopyDone;
    framework::LowLevelFile input = framework::LowLevelFile::OpenForReading(source);
    if (!input.IsOpen()) {
        status = kCopySourceNotOpened;
    }
    framework::LowLevelFile output = framework::LowLevelFile::CreateForWriting(destination);
    if (!output.IsOpen()) {
        status = kCopyDestinationNotCreated;
    }
    if (!input.IsOpen() || !output.IsOpen()) {
        return status;
    }

    for (;;) {
        const long read = input.Read(buffer->Data(), buffer->Size());
        if (read == 0) {
            return kCopyDone;
        }
        if (read < 0 || output.Write(buffer->Data(), static_cast<std::size_t>(read)) != read) {
            return kCopyIncomplete;
        }
    }
}

}  // namespace tavrin21
