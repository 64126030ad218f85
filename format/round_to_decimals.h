#pragma once

#include <cstdint>

namespace tavrin21 {

// `value` rounded half up to `decimals` decimals (negative decimals round to tens, hundreds...):
// the integer part of value * 10^decimals + 0.5, divided by 10^decimals, all in double.
// Meant for magnitudes; a caller puts the sign back, which makes ties round away from zero.
double RoundToDecimals(double value, std::int32_t decimals);

}  // namespace tavrin21
