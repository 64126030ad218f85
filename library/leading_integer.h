#pragma once

#include <cstdint>
#include <string_view>

namespace tavrin21 {

// The decimal integer at the start of `text`, read as atoi reads it: leading white space and
// one sign are accepted, reading stops at the first non-digit, no digits give 0. A value beyond
// the 32-bit range is clamped to it, as the C library's strtol does.
std::int32_t LeadingInteger(std::string_view text);

}  // namespace tavrin21
