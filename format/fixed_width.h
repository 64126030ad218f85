#pragma once

// A double written into a field of exactly a given number of characters, for the host's
// fixed-width columns: fixed notation with the decimals asked for where it fits, exponent
// notation when the integer digits do not fit or the number rounds to zero, a word otherwise.

#include <cstdint>

namespace tavrin21 {

// What FormatFixedWidth did; a later step overrides an earlier one, only the last is returned.
enum FormatStatus : std::int32_t {
    FormatFixed = 0,           // fixed notation with the decimals asked for
    FormatZero = 1,            // the value is zero (a NaN reports this too, see below)
    FormatOverflowWord = 2,    // integer digits do not fit, no room for exponent form
    FormatUnderflowWord = 3,   // rounds to zero, no room for exponent form
    FormatDecimalsCapped = 4,  // more than 19 decimals asked; 19 used
    FormatDecimalsFitted = 5,  // fewer decimals, so that the number fits the width
    FormatExponentSmall = 6,   // rounds to zero at the decimals; exponent notation
    FormatExponentLarge = 7,   // integer digits do not fit; exponent notation
    FormatTooLarge = 8,        // magnitude at least the largest single, infinities included
    FormatError = -1,          // the fixed-notation text came out longer than the width
};

// Writes `value` into dest[0..width) and a NUL at dest[width]; dest holds width + 1 bytes.
// `justify` 1 puts the text on the left (blanks on the right), any other value on the right.
// Fixed notation shows the value rounded half away from zero to the decimals; the exponent
// form writes a signed three-digit exponent (1.2346E+008). Texts longer than the width are cut.
//
// Inputs the host never passes have these defined results:
// - A NaN shows the word "NaN" (cut and justified like the other words) with FormatZero, the
//   status it has always reported: its comparisons send it neither to the sign nor to the
//   too-large test. The runtime's own text for it differs between platforms.
// - A negative width counts as 0: only dest[0] is written, with the NUL.
// - A null dest writes nothing and returns FormatError.
// - Negative decimals are used as given: the rounding goes to tens, hundreds...; printf then
//   prints 6 decimals, which rarely fit. Decimals so negative that 10^decimals is zero in
//   double make every finite number round to zero.
std::int32_t FormatFixedWidth(
    char* dest, std::int32_t width, std::int32_t decimals, double value, std::int32_t justify);

}  // namespace tavrin21
