#include "format/fixed_width.h"

#include "format/exponent_text.h"
#include "format/round_to_decimals.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace tavrin21 {

namespace {

// The largest single-precision value: nothing at or above it is shown as a number.
constexpr double kLargestSingle = 3.4028234663852886e38;
constexpr std::int32_t kMaxDecimals = 19;
constexpr std::int32_t kMaxExponentDecimals = 6;
// "d." before the exponent decimals and "E+ddd" after them.
constexpr std::int32_t kExponentOverhead = 7;

// Long enough for every text built here: sign, 39 integer digits, point and 19 decimals.
using Scratch = std::array<char, 100>;

struct Request {
    std::int32_t width;
    std::int32_t decimals;
    double magnitude;
    bool negative;
    std::int32_t status;  // from the decimal caps
};

void Copy(Scratch& text, std::string_view word, std::int32_t width) {
    const std::size_t kept = std::min(word.size(), static_cast<std::size_t>(width));
    std::memcpy(text.data(), word.data(), kept);
    text[kept] = '\0';
}

void PrintFixed(Scratch& text, std::int32_t decimals, double value) {
    if (std::snprintf(text.data(), text.size(), "%.*f", static_cast<int>(decimals), value) < 0) {
        text[0] = '\0';
    }
}

std::int64_t IntegerDigitCount(double integerPart) {
    Scratch digits{};
    PrintFixed(digits, 0, integerPart);
    return static_cast<std::int64_t>(std::strlen(digits.data()));
}

std::int32_t PrintExponentOrWord(Scratch& text, const Request& request, bool tooSmall) {
    const std::int32_t sign = request.negative ? 1 : 0;
    if (request.width >= sign + kExponentOverhead + 1) {
        const std::int32_t precision =
            std::min(request.width - sign - kExponentOverhead, kMaxExponentDecimals);
        WriteExponentText(text.data(), text.size(), request.magnitude, precision, request.negative);
        return tooSmall ? FormatExponentSmall : FormatExponentLarge;
    }
    Copy(text, tooSmall ? "Underflow" : "Overflow", request.width);
    return tooSmall ? FormatUnderflowWord : FormatOverflowWord;
}

std::int32_t PrintNonZero(Scratch& text, const Request& request) {
    const double rounded = RoundToDecimals(request.magnitude, request.decimals);
    // 10^decimals of a very negative count is zero, and the rounding gives 0/0: at such a
    // scale every finite number rounds to zero.
    if (std::isnan(rounded)) {
        return PrintExponentOrWord(text, request, true);
    }
    double integerPart = 0.0;
    const double fraction = std::modf(rounded, &integerPart);
    if (integerPart != 0.0) {
        const std::int64_t needed = IntegerDigitCount(integerPart) + (request.negative ? 1 : 0) +
                                    request.decimals + 1;  // the point counts even without decimals
        if (needed > request.width) {
            return PrintExponentOrWord(text, request, false);
        }
    } else if (fraction == 0.0) {
        return PrintExponentOrWord(text, request, true);
    }
    PrintFixed(text, request.decimals, request.negative ? -rounded : rounded);
    if (std::strlen(text.data()) > static_cast<std::size_t>(request.width)) {
        Copy(text, "ERROR", request.width);
        return FormatError;
    }
    return request.status;
}

std::int32_t BuildText(Scratch& text, const Request& request) {
    if (std::isnan(request.magnitude)) {
        Copy(text, "NaN", request.width);
        return FormatZero;
    }
    if (request.magnitude >= kLargestSingle) {
        Copy(text, "---", request.width);
        return FormatTooLarge;
    }
    if (request.magnitude == 0.0) {
        // Printed as it came: a negative zero shows its sign.
        PrintFixed(text, request.decimals, request.magnitude);
        return FormatZero;
    }
    return PrintNonZero(text, request);
}

void Place(char* dest, std::int32_t width, std::string_view text, bool leftJustified) {
    const std::size_t fieldWidth = static_cast<std::size_t>(width);
    if (text.size() >= fieldWidth || leftJustified) {
        const std::size_t kept = std::min(text.size(), fieldWidth);
        std::memcpy(dest, text.data(), kept);
        std::memset(dest + kept, ' ', fieldWidth - kept);
    } else {
        const std::size_t padding = fieldWidth - text.size();
        std::memset(dest, ' ', padding);
        std::memcpy(dest + padding, text.data(), text.size());
    }
    dest[fieldWidth] = '\0';
}

}  // namespace

std::int32_t FormatFixedWidth(
    char* dest, std::int32_t width, std::int32_t decimals, double value, std::int32_t justify) {
    if (dest == nullptr) {
        return FormatError;
    }
    Request request{};
    request.width = std::max(width, 0);
    request.negative = value < 0.0;  // false for a negative zero, which keeps its sign bit
    request.magnitude = request.negative ? -value : value;
    request.status = FormatFixed;
    if (decimals > kMaxDecimals) {
        decimals = kMaxDecimals;
        request.status = FormatDecimalsCapped;
    }
    const std::int32_t roomForDecimals = request.width - (request.negative ? 1 : 0) - 2;
    if (decimals > roomForDecimals) {
        decimals = roomForDecimals;
        request.status = FormatDecimalsFitted;
    }
    request.decimals = decimals;

    Scratch text{};
    const std::int32_t status = BuildText(text, request);
    Place(dest, request.width, text.data(), justify == 1);
    return status;
}

}  // namespace tavrin21
