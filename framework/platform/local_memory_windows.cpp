#include "framework/platform/local_memory_system.h"

#include <windows.h>

namespace framework::platform {

char* AllocateZeroed(std::size_t bytes) {
    return static_cast<char*>(LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, bytes));
}

void FreeBlock(char* data) noexcept {
    LocalFree(data);
}

}  // namespace framework::platform
