// The vectors reach every interpolation variant and the method codes that select them, the
// limits, the 0.01 match, empty slots, unusable values, extrapolation and clamping.

#include "calc/table_method.h"

#include "tests/support/vectors.h"

#include <string>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

using test::BitsOf;
using test::SingleFromBits;

TabledRateRecord RecordFromVector(const nlohmann::json& c) {
    TabledRateRecord record{};
    for (std::size_t i = 0; i < kTabledPointCount; ++i) {
        record.Points[i].Temperature = SingleFromBits(c["points_bits"][i][0]);
        record.Points[i].Rate = SingleFromBits(c["points_bits"][i][1]);
    }
    record.MinTemperature = SingleFromBits(c["min_temperature"]["bits"]);
    record.MaxTemperature = SingleFromBits(c["max_temperature"]["bits"]);
    return record;
}

TEST(TableMethod, MatchesIndependentVectorsBitForBit) {
    const auto vectors = test::LoadVectors("table.json");
    int checked = 0;
    for (const auto& c : vectors["cases"]) {
        SCOPED_TRACE(c["group"].get<std::string>() + ": " + c.value("note", std::string()));
        const TabledRateRecord record = RecordFromVector(c);
        const float temperature = SingleFromBits(c["temperature"]["bits"]);
        const int variant = InterpolationVariant(c["method_code"].get<std::uint8_t>());

        const TableMethodOutcome outcome = TableMethod(record, temperature, variant);

        EXPECT_EQ(outcome.status, c["status"].get<int>());
        if (c["message"].is_null()) {
            EXPECT_EQ(outcome.message, nullptr);
        } else {
            ASSERT_NE(outcome.message, nullptr);
            EXPECT_EQ(std::string(outcome.message), c["message"].get<std::string>());
        }
        if (c["rate"].is_null()) {
            EXPECT_FALSE(outcome.rate);
        } else {
            ASSERT_TRUE(outcome.rate);
            EXPECT_EQ(BitsOf(*outcome.rate),
                      std::stoul(c["rate"]["bits"].get<std::string>(), nullptr, 16))
                << "gave " << *outcome.rate << ", expected " << c["rate"]["text"];
        }
        ++checked;
    }
    EXPECT_EQ(checked, 263);
}

}  // namespace
}  // namespace tavrin21
