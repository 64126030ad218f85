// The text, status and guard bytes of each vector and of the cases the vectors cannot hold. That
// any input leaves exactly width characters, the NUL and a known status is the fuzz target's
// check (tests/fuzz), which ctest replays over its corpus.

#include "format/fixed_width.h"

#include "tests/support/vectors.h"

#include <algorithm>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Case {
    std::string name;
    std::int32_t width;
    std::int32_t decimals;
    double value;
    std::int32_t justify;
    std::string text;  // the width characters, without the NUL
    std::int32_t status;
};

// Formats into a buffer with guard bytes after the NUL's place: the field must hold the
// expected text, then the NUL, and nothing may be written behind it.
testing::AssertionResult Formats(const Case& row) {
    const std::size_t field = static_cast<std::size_t>(std::max(row.width, 0));
    const std::string tail = std::string(1, '\0') + "########";
    std::string buffer(field, '#');
    buffer += tail;
    const std::int32_t status =
        FormatFixedWidth(buffer.data(), row.width, row.decimals, row.value, row.justify);
    const bool tailIntact = buffer.substr(field) == tail;
    if (buffer.substr(0, field) == row.text && status == row.status && tailIntact) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << row.name << "\n  got \"" << buffer.substr(0, field) << "\" status " << status
           << (tailIntact ? "" : ", NUL missing or bytes written behind it");
}

TEST(FormatFixedWidth, MatchesIndependentVectors) {
    const nlohmann::json cases = test::LoadVectors("format.json").at("cases");
    ASSERT_EQ(cases.size(), 2247u);
    int failures = 0;
    for (const nlohmann::json& row : cases) {
        const Case vector{row.dump(),
                          row.at("width").get<std::int32_t>(),
                          row.at("decimals").get<std::int32_t>(),
                          test::DoubleFromBits(row.at("value").at("bits").get<std::string>()),
                          row.at("justify").get<std::int32_t>(),
                          row.at("text").get<std::string>(),
                          row.at("status").get<std::int32_t>()};
        const testing::AssertionResult result = Formats(vector);
        if (!result && ++failures <= 20) {
            ADD_FAILURE() << result.message();
        }
    }
    EXPECT_EQ(failures, 0);
}

// What the vectors cannot hold.
const Case kExamples[] = {
    {"largest single", 11, 2, 3.4028234663852886e38, 0, "        ---", FormatTooLarge},
    {"negative infinity", 11, 2, -kInfinity, 0, "        ---", FormatTooLarge},
    {"NaN", 11, 2, kNaN, 0, "        NaN", FormatZero},
    {"negative NaN cut, left-justified", 2, 2, -kNaN, 1, "Na", FormatZero},
    {"widest fixed text: sign, 39 integer digits, point, 19 decimals", 60, 25, -0x1p127, 0,
     "-170141183460469231731687303715884105728.0000000000000000000", FormatDecimalsCapped},
    {"negative width writes the NUL only", -5, 2, 25.0, 0, "", FormatUnderflowWord},
    {"decimals so small that 10^d is zero", 11, -400, 25.0, 0, "2.5000E+001", FormatExponentSmall},
};

TEST(FormatFixedWidth, WorkedExamples) {
    for (const Case& row : kExamples) {
        EXPECT_TRUE(Formats(row));
    }
    EXPECT_EQ(FormatFixedWidth(nullptr, 11, 2, 25.0, 0), FormatError);
}

}  // namespace
}  // namespace tavrin21
