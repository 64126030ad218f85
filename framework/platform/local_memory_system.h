#pragma once

// The system's side of LocalBlock: the heap its blocks come from.

#include <cstddef>

namespace framework::platform {

// A zero-filled block of `bytes` (at least one) from the system's local heap, or null.
char* AllocateZeroed(std::size_t bytes);
void FreeBlock(char* data) noexcept;

}  // namespace framework::platform
