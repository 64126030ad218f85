#include "framework/platform/local_memory.h"

#include <atomic>
#include <limits>
#include <windows.h>

namespace framework {

namespace {

std::atomic<std::size_t> blockLimit{std::numeric_limits<std::size_t>::max()};

}  // namespace

std::optional<LocalBlock> LocalBlock::Allocate(std::size_t bytes) {
    if (bytes > blockLimit.load()) {
        return std::nullopt;
    }
    auto* data = static_cast<char*>(LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, bytes == 0 ? 1 : bytes));
    if (data == nullptr) {
        return std::nullopt;
    }
    return LocalBlock(data, bytes);
}

void LocalBlock::Free::operator()(char* data) const noexcept {
    LocalFree(data);
}

std::size_t SetLocalBlockLimit(std::size_t maxBytes) {
    return blockLimit.exchange(maxBytes);
}

}  // namespace framework
