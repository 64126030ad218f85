// The vectors reach every path of the conversion: both sides of 10 and 100 degrees, grid and
// between-grid temperatures, negative temperatures, rate 0 and huge rates.

#include "calc/temperature_conversion.h"

#include "tests/support/vectors.h"

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

using test::BitsOf;
using test::SingleFromBits;

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
