#pragma once

#include <cstddef>
#include <cstdint>

namespace tavrin21 {

// Results of the module's exports.
enum Status : std::int32_t {
    StatusOk = 0,          // chek_item and the view-field exports: done
    StatusFailed = 1,      // calc_item: failed, a message stands in the host's buffer
    StatusCalculated = 3,  // calc_item: ran to its end
    StatusBadIndex = 12,   // a field number or title line out of range; nothing written
};

// The host's message buffer holds at least this many bytes; every message fits with its NUL.
inline constexpr std::size_t kMessageBufferBytes = 81;

}  // namespace tavrin21
