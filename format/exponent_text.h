#pragma once

#include <cstddef>
#include <cstdint>

namespace tavrin21 {

// Writes `magnitude` as "%.*E" with `precision` digits after the point, preceded by '-' when
// `negative`, and with an exponent of a sign and at least three digits (1.2346E+008,
// 4.0000E-003) on every platform. Returns the length of the text, which is cut to fit `size`
// bytes with its NUL as snprintf would cut it.
std::size_t WriteExponentText(
    char* out, std::size_t size, double magnitude, std::int32_t precision, bool negative);

}  // namespace tavrin21
