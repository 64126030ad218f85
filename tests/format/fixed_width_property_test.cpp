// A seeded sweep over every kind of double, width, decimals and justification: the field is
// always exactly its width and a NUL with nothing written behind it, the status is a known one,
// and the text stands on the side the justification asks for. What the text says is left to the
// vectors.

#include "format/fixed_width.h"

#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

using Limits = std::numeric_limits<double>;

double DrawValue(std::mt19937_64& random) {
    static const double kSpecial[] = {0.0,
                                      -0.0,
                                      Limits::infinity(),
                                      -Limits::quiet_NaN(),
                                      Limits::denorm_min(),
                                      -Limits::min(),
                                      Limits::max(),
                                      3.4028234663852886e38,
                                      std::nextafter(3.4028234663852886e38, 0.0),
                                      9.5,
                                      99.995};
    switch (random() % 4) {
        case 0:  // any bit pattern: NaNs, infinities, subnormals, huge values
            return std::bit_cast<double>(random());
        case 1:
            return kSpecial[random() % std::size(kSpecial)];
        default:  // the magnitudes a column shows, and a little beyond, either sign
            return (random() % 2 == 0 ? 1.0 : -1.0) *
                   std::uniform_real_distribution<double>(1.0, 10.0)(random) *
                   std::pow(10.0, std::uniform_int_distribution<int>(-25, 40)(random));
    }
}

TEST(FormatFixedWidthSweep, EveryFieldHasItsWidthAKnownStatusAndItsJustification) {
    std::mt19937_64 random(20240611);
    int failures = 0;
    for (int call = 0; call < 1'000'000 && failures < 10; ++call) {
        const int width = std::uniform_int_distribution<int>(0, 60)(random);
        const int decimals = std::uniform_int_distribution<int>(-5, 30)(random);
        const double value = DrawValue(random);
        const std::int32_t justify = std::array{0, 1, 2, -1}[random() % 4];
        const std::string guard = std::string(1, '\0') + "####";
        std::string buffer(static_cast<std::size_t>(width) + guard.size(), '#');
        const std::int32_t status =
            FormatFixedWidth(buffer.data(), width, decimals, value, justify);
        const std::string field = buffer.substr(0, static_cast<std::size_t>(width));
        const bool ok = field.find('\0') == std::string::npos &&
                        buffer.substr(field.size()) == guard && status >= FormatError &&
                        status <= FormatTooLarge &&
                        (width == 0 || (justify == 1 ? field.front() : field.back()) != ' ');
        if (!ok && ++failures) {
            ADD_FAILURE() << "value " << std::hexfloat << value << std::defaultfloat << " width "
                          << width << " decimals " << decimals << " justify " << justify << " -> \""
                          << field << "\" status " << status;
        }
    }
    EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace tavrin21
