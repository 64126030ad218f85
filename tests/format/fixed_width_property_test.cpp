// A seeded sweep over every kind of double, width, decimals and justification: the field is
// always exactly its width and a NUL with nothing written behind it, the status is a known one,
// and the text stands on the side the justification asks for. What the text says is left to the
// vectors.

#include "format/fixed_width.h"

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

constexpr int kSweepCalls = 1'000'000;
constexpr std::uint64_t kSeed = 20240611;
constexpr char kGuard = '#';
constexpr std::size_t kGuardBytes = 4;

using Limits = std::numeric_limits<double>;
const double kSpecialValues[] = {0.0,
                                 -0.0,
                                 Limits::infinity(),
                                 -Limits::infinity(),
                                 Limits::quiet_NaN(),
                                 -Limits::quiet_NaN(),
                                 Limits::denorm_min(),
                                 -Limits::min(),
                                 Limits::max(),
                                 3.4028234663852886e38,
                                 std::nextafter(3.4028234663852886e38, 0.0),
                                 0.5,
                                 9.5,
                                 99.995};

double DrawValue(std::mt19937_64& random) {
    switch (random() % 4) {
        case 0:  // any bit pattern: NaNs, infinities, subnormals, huge values
            return std::bit_cast<double>(random());
        case 1:
            return kSpecialValues[random() % std::size(kSpecialValues)];
        default: {  // the magnitudes a column shows, and a little beyond
            std::uniform_real_distribution<double> mantissa(1.0, 10.0);
            std::uniform_int_distribution<int> exponent(-25, 40);
            const double sign = random() % 2 == 0 ? 1.0 : -1.0;
            return sign * mantissa(random) * std::pow(10.0, exponent(random));
        }
    }
}

// What is wrong with the buffer after a call, or nothing.
std::string Problem(const std::string& buffer,
                    std::size_t width,
                    std::int32_t justify,
                    std::int32_t status) {
    const std::string field = buffer.substr(0, width);
    if (field.find('\0') != std::string::npos ||
        buffer.substr(width) != std::string(1, '\0') + std::string(kGuardBytes, kGuard)) {
        return "field is not exactly width characters and a NUL";
    }
    if (status < FormatError || status > FormatTooLarge) {
        return "unknown status";
    }
    if (width > 0 && (justify == 1 ? field.front() : field.back()) == ' ') {
        return "text on the wrong side of the field";
    }
    return {};
}

TEST(FormatFixedWidthSweep, EveryFieldHasItsWidthAKnownStatusAndItsJustification) {
    std::mt19937_64 random(kSeed);
    std::uniform_int_distribution<int> widths(0, 60);
    std::uniform_int_distribution<int> decimalCounts(-5, 30);
    const std::int32_t justifications[] = {0, 1, 2, -1};
    int failures = 0;
    for (int call = 0; call < kSweepCalls && failures < 10; ++call) {
        const int width = widths(random);
        const int decimals = decimalCounts(random);
        const double value = DrawValue(random);
        const std::int32_t justify = justifications[random() % 4];
        std::string buffer(static_cast<std::size_t>(width) + 1 + kGuardBytes, kGuard);

        const std::int32_t status =
            FormatFixedWidth(buffer.data(), width, decimals, value, justify);

        const std::string problem =
            Problem(buffer, static_cast<std::size_t>(width), justify, status);
        if (!problem.empty()) {
            ++failures;
            ADD_FAILURE() << problem << ": value " << std::hexfloat << value << std::defaultfloat
                          << " (" << value << ") width " << width << " decimals " << decimals
                          << " justify " << justify << " -> \"" << buffer.substr(0, width)
                          << "\" status " << status;
        }
    }
    EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace tavrin21
