#include "framework/platform/local_memory_system.h"

#include <cstdlib>

namespace framework::platform {

char* AllocateZeroed(std::size_t bytes) {
    return static_cast<char*>(std::calloc(bytes, 1));
}

void FreeBlock(char* data) noexcept {
    std::free(data);
}

}  // namespace framework::platform
