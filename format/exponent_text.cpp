#include "format/exponent_text.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace tavrin21 {

namespace {

constexpr std::int32_t kMaxPrecision = 16;  // more digits than a double holds
constexpr std::size_t kExponentDigits = 3;

// Pads the exponent of "d.dddE+dd" with zeros to three digits, in place. A text without an
// exponent (the runtime's words for infinity and NaN) is left alone.
std::size_t WidenExponent(char* text, std::size_t length, std::size_t capacity) {
    const char* exponentMark = std::strrchr(text, 'E');
    if (exponentMark == nullptr || exponentMark[1] == '\0') {
        return length;
    }
    char* digits = text + (exponentMark - text) + 2;  // past the 'E' and its sign
    const std::size_t digitCount = static_cast<std::size_t>(text + length - digits);
    if (digitCount >= kExponentDigits) {
        return length;
    }
    const std::size_t padding = kExponentDigits - digitCount;
    if (length + padding >= capacity) {
        return length;
    }
    std::memmove(digits + padding, digits, digitCount + 1);  // with the NUL
    std::memset(digits, '0', padding);
    return length + padding;
}

}  // namespace

std::size_t WriteExponentText(
    char* out, std::size_t size, double magnitude, std::int32_t precision, bool negative) {
    std::array<char, 64> text{};
    const int digits = static_cast<int>(std::clamp(precision, 0, kMaxPrecision));
    const int written =
        std::snprintf(text.data(), text.size(), negative ? "-%.*E" : "%.*E", digits, magnitude);
    if (written < 0) {
        text[0] = '\0';
    }
    const std::size_t length = WidenExponent(text.data(), std::strlen(text.data()), text.size());
    if (size == 0) {
        return length;
    }
    const std::size_t kept = std::min(length, size - 1);
    std::memcpy(out, text.data(), kept);
    out[kept] = '\0';
    return length;
}

}  // namespace tavrin21
