#include "calc/temperature_conversion.h"

#include <gtest/gtest.h>

#include "tests/support/vectors.h"

namespace tavrin21 {
namespace {

using test::BitsOf;
using test::SingleFromBits;

struct ConversionCase {
    float from;
    float to;
    float expected;
    const char* path;
};

// Worked examples at rate 1, each through a different path of the conversion.
constexpr ConversionCase kWorkedExamples[] = {
    {40, 40, 1.0f, "table, diagonal"},
    {10, 100, 10.0f, "table, entry 1"},
    {100, 10, 0.12987013f, "table, entry 77"},
    {25, 85, 3.0769231f, "bilinear, four entries with weights 0.25"},
    {35, 45, 1.1111110f, "bilinear, entries 10 8 10 8"},
    {100, 100, 1.0f, "table, last row and column only"},
    {5, 5, 1.0f, "law on both sides below 10"},
    {120, 130, 1.25f, "law on both sides above 100"},
    {5, 20, 1.2422600f, "law 5 to 10, then table"},
    {50, 120, 7.8125f, "table, then law 100 to 120"},
    {0, 110, 15.625f, "law, table, law"},
    {105, 95, 0.68802088f, "law 105 to 100, then table"},
    {75, 75, 0.97560972f, "equal temperatures between grid points"},
    {75, 75.5f, 0.99255580f, "rising temperature, falling rate"},
};

TEST(ConvertRateToTemperature, WorkedExamplesComeOutAsPrintedSingles) {
    for (const ConversionCase& row : kWorkedExamples) {
        SCOPED_TRACE(row.path);
        float out = -1.0f;
        ConvertRateToTemperature(row.from, row.to, 1.0f, &out);
        EXPECT_EQ(BitsOf(out), BitsOf(row.expected)) << row.from << " -> " << row.to << " gave " << out;
    }
}

TEST(ConvertRateToTemperature, IsLinearInTheRate) {
    for (const ConversionCase& row : kWorkedExamples) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(ConvertedRate(row.from, row.to, 0.0f), 0.0f);
    }
}

TEST(ConvertRateToTemperature, MatchesIndependentVectorsBitForBit) {
    const auto vectors = test::LoadVectors("conversion.json");
    int checked = 0;
    for (const auto& c : vectors["cases"]) {
        const float from = SingleFromBits(c["from"]["bits"]);
        const float to = SingleFromBits(c["to"]["bits"]);
        const float rate = SingleFromBits(c["rate"]["bits"]);
        float out = 0.0f;
        ConvertRateToTemperature(from, to, rate, &out);
        EXPECT_EQ(BitsOf(out), std::stoul(c["result"]["bits"].get<std::string>(), nullptr, 16))
            << c["group"] << ": " << from << " -> " << to << " at rate " << rate << " gave " << out
            << ", expected " << c["result"]["text"];
        ++checked;
    }
    EXPECT_EQ(checked, 823);
}

}  // namespace
}  // namespace tavrin21
