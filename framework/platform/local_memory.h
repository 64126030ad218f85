#pragma once

// Zero-filled blocks of memory from the platform's local heap, for buffers a caller sizes down
// when memory is short.

#include "framework/platform/export.h"

#include <cstddef>
#include <memory>
#include <optional>

namespace framework {

class FRAMEWORK_API LocalBlock {
  public:
    // A zero-filled block of `bytes`, or nothing when the heap cannot give one.
    static std::optional<LocalBlock> Allocate(std::size_t bytes);

    char* Data() const { return data_.get(); }
    std::size_t Size() const { return size_; }

  private:
    struct FRAMEWORK_API Free {
        void operator()(char* data) const noexcept;
    };
    LocalBlock(char* data, std::size_t size) : data_(data), size_(size) {}

    std::unique_ptr<char, Free> data_;
    std::size_t size_;
};

// For tests: blocks larger than `maxBytes` are refused from now on, as from a heap that is
// short of memory. Returns the previous limit; the default limit is no limit.
FRAMEWORK_API std::size_t SetLocalBlockLimit(std::size_t maxBytes);

}  // namespace framework
