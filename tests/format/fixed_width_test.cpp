#include "format/fixed_width.h"

#include "format/round_to_decimals.h"
#include "tests/support/vectors.h"

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr char kGuard = '#';

struct Formatted {
    std::string text;  // the width characters
    std::int32_t status;
    bool terminated;    // dest[width] is the NUL
    bool guardsIntact;  // nothing written beyond dest[width]
};

// Formats into a buffer with guard bytes after the NUL's place.
Formatted Format(std::int32_t width, std::int32_t decimals, double value, std::int32_t justify) {
    const std::size_t field = static_cast<std::size_t>(std::max(width, 0));
    std::vector<char> buffer(field + 1 + 8, kGuard);
    const std::int32_t status = FormatFixedWidth(buffer.data(), width, decimals, value, justify);
    Formatted result{std::string(buffer.data(), field), status, buffer[field] == '\0', true};
    for (std::size_t i = field + 1; i < buffer.size(); ++i) {
        result.guardsIntact = result.guardsIntact && buffer[i] == kGuard;
    }
    return result;
}

double VectorValue(const nlohmann::json& value) {
    return test::DoubleFromBits(value.at("bits").get<std::string>());
}

TEST(FormatFixedWidth, MatchesIndependentVectors) {
    const nlohmann::json vectors = test::LoadVectors("format.json");
    const nlohmann::json& cases = vectors.at("cases");
    ASSERT_EQ(cases.size(), 2247u);
    int failures = 0;
    for (const nlohmann::json& row : cases) {
        const auto width = row.at("width").get<std::int32_t>();
        const auto decimals = row.at("decimals").get<std::int32_t>();
        const auto justify = row.at("justify").get<std::int32_t>();
        const double value = VectorValue(row.at("value"));
        const Formatted got = Format(width, decimals, value, justify);
        const bool same = got.text == row.at("text").get<std::string>() &&
                          got.status == row.at("status").get<std::int32_t>() && got.terminated &&
                          got.guardsIntact;
        if (!same && ++failures <= 20) {
            ADD_FAILURE() << row.dump() << "\n  got \"" << got.text << "\" status " << got.status;
        }
    }
    EXPECT_EQ(failures, 0);
}

struct ExampleCase {
    const char* name;
    std::int32_t width;
    std::int32_t decimals;
    double value;
    std::int32_t justify;
    const char* text;
    std::int32_t status;
};

// The behaviour the host's temperature column and the other callers rely on.
const ExampleCase kExamples[] = {
    {"plain right", 11, 2, 25.0, 0, "      25.00", FormatFixed},
    {"plain left", 11, 2, 25.0, 1, "25.00      ", FormatFixed},
    {"negative", 11, 2, -40.0, 0, "     -40.00", FormatFixed},
    {"zero", 11, 2, 0.0, 0, "       0.00", FormatZero},
    {"negative zero keeps its sign", 11, 2, -0.0, 0, "      -0.00", FormatZero},
    {"exactly fills the width", 11, 2, 12345678.0, 0, "12345678.00", FormatFixed},
    {"sign makes it too long", 11, 2, -12345678.0, 0, "-1.235E+007", FormatExponentLarge},
    {"too many integer digits", 11, 2, 123456789.0, 0, "1.2346E+008", FormatExponentLarge},
    {"huge", 11, 2, 1e30, 0, "1.0000E+030", FormatExponentLarge},
    {"rounds to zero", 11, 2, 0.004, 0, "4.0000E-003", FormatExponentSmall},
    {"negative rounds to zero", 11, 2, -0.004, 0, "-4.000E-003", FormatExponentSmall},
    {"half way up", 11, 2, 0.125, 0, "       0.13", FormatFixed},
    {"half way away from zero", 11, 2, -0.125, 0, "      -0.13", FormatFixed},
    {"pre-rounding carries", 11, 2, 99.995, 0, "     100.00", FormatFixed},
    {"above the largest single", 11, 2, 3.5e38, 0, "        ---", FormatTooLarge},
    {"largest single", 11, 2, 3.4028234663852886e38, 0, "        ---", FormatTooLarge},
    {"just below the largest single", 11, 2, 3.4028234663852882e38, 0, "3.4028E+038",
     FormatExponentLarge},
    {"infinity", 11, 2, kInfinity, 0, "        ---", FormatTooLarge},
    {"negative infinity", 11, 2, -kInfinity, 0, "        ---", FormatTooLarge},
    {"width 8 exponent", 8, 2, 123456.0, 0, "1.2E+005", FormatExponentLarge},
    {"width 8 no room for sign", 8, 2, -123456.0, 0, "Overflow", FormatOverflowWord},
    {"width 8 small", 8, 2, 0.0001, 0, "1.0E-004", FormatExponentSmall},
    {"width 5 overflow cut", 5, 2, 123456.0, 0, "Overf", FormatOverflowWord},
    {"width 5 underflow cut", 5, 2, 0.0001, 0, "Under", FormatUnderflowWord},
    {"decimals fitted to width", 20, 25, 1.5, 0, "1.500000000000000000", FormatDecimalsFitted},
    {"decimals capped at 19", 30, 25, 1.5, 0, "         1.5000000000000000000",
     FormatDecimalsCapped},
    {"negative decimals overflow", 1, 2, 5.0, 0, "O", FormatOverflowWord},
    {"negative decimals underflow", 1, 2, 0.3, 0, "U", FormatUnderflowWord},
    {"zero at negative precision", 1, 2, 0.0, 0, "0", FormatZero},
    {"fixed text longer than planned", 2, -1, 50.0, 0, "ER", FormatError},
    {"width 0", 0, 2, 25.0, 0, "", FormatUnderflowWord},
    {"three-digit exponent stays", 11, 2, 1e-200, 0, "1.0000E-200", FormatExponentSmall},
    {"NaN", 11, 2, kNaN, 0, "        NaN", FormatZero},
    {"NaN cut", 2, 2, -kNaN, 1, "Na", FormatZero},
    {"negative width writes the NUL only", -5, 2, 25.0, 0, "", FormatUnderflowWord},
    {"decimals so small that 10^d is zero", 11, -400, 25.0, 0, "2.5000E+001", FormatExponentSmall},
};

TEST(FormatFixedWidth, Examples) {
    for (const ExampleCase& row : kExamples) {
        SCOPED_TRACE(row.name);
        const Formatted got = Format(row.width, row.decimals, row.value, row.justify);
        EXPECT_EQ(got.text, row.text);
        EXPECT_EQ(got.status, row.status);
        EXPECT_TRUE(got.terminated);
        EXPECT_TRUE(got.guardsIntact);
    }
}

TEST(FormatFixedWidth, NullDestinationWritesNothing) {
    EXPECT_EQ(FormatFixedWidth(nullptr, 11, 2, 25.0, 0), FormatError);
}

TEST(RoundToDecimals, RoundsHalfUpAtTheScale) {
    const struct {
        double value;
        std::int32_t decimals;
        double expected;
    } rows[] = {{0.125, 2, 0.13},   {0.124, 2, 0.12}, {2.5, 0, 3.0},    {149.0, -2, 100.0},
                {150.0, -2, 200.0}, {0.004, 2, 0.0},  {1e300, 0, 1e300}};
    for (const auto& row : rows) {
        EXPECT_EQ(RoundToDecimals(row.value, row.decimals), row.expected)
            << row.value << " at " << row.decimals;
    }
}

}  // namespace
}  // namespace tavrin21
