#include "framework/platform/local_memory.h"
#include "framework/platform/local_memory_system.h"

#include <atomic>
#include <limits>

namespace framework {

namespace {

std::atomic<std::size_t> blockLimit{std::numeric_limits<std::size_t>::max()};

}  // namespace

std::optional<LocalBlock> LocalBlock::Allocate(std::size_t bytes) {
    if (bytes > blockLimit.load()) {
        return std::nullopt;
    }
    char* data = platform::AllocateZeroed(bytes == 0 ? 1 : bytes);
    if (data == nullptr) {
        return std::nullopt;
    }
    return LocalBlock(data, bytes);
}

void LocalBlock::Free::operator()(char* data) const noexcept {
    platform::FreeBlock(data);
}

std::size_t SetLocalBlockLimit(std::size_t maxBytes) {
    return blockLimit.exchange(maxBytes);
}

}  // namespace framework
