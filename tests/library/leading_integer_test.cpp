#include "library/leading_integer.h"

#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(LeadingInteger, ReadsTheLeadingDecimalIntegerAsAtoiDoes) {
    const struct {
        const char* text;
        std::int32_t expected;
    } rows[] = {
        {"7", 7},
        {"12abc", 12},
        {"100.0", 100},  // SQLite writes a REAL column's text with a decimal point
        {"1e3", 1},
        {" \t\n-42", -42},
        {"+5", 5},
        {"", 0},
        {"abc", 0},
        {"- 3", 0},
        {"--3", 0},
        {"-", 0},
        {"0007", 7},
        {"2147483647", kMax},
        {"2147483648", kMax},
        {"99999999999999999999", kMax},
        {"-2147483648", kMin},
        {"-2147483649", kMin},
        {"-99999999999999999999", kMin},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(LeadingInteger(row.text), row.expected);
    }
}

}  // namespace
}  // namespace tavrin21
