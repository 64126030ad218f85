#include "calc/table_method.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/vectors.h"

namespace tavrin21 {
namespace {

using test::BitsOf;
using test::SingleFromBits;

TabledRateRecord RecordWith(std::vector<TabledRatePoint> points, float minC, float maxC) {
    TabledRateRecord record{};
    std::copy(points.begin(), points.end(), record.Points);
    record.MinTemperature = minC;
    record.MaxTemperature = maxC;
    return record;
}

TEST(InterpolationVariant, ComesFromMethodCodes100To199) {
    const struct {
        std::uint8_t methodCode;
        int variant;
    } rows[] = {{0, 0}, {99, 0}, {100, 0}, {101, 1}, {102, 2}, {150, 50}, {199, 99}, {200, 0}, {255, 0}};
    for (const auto& row : rows) {
        EXPECT_EQ(InterpolationVariant(row.methodCode), row.variant) << int(row.methodCode);
    }
}

struct LineCase {
    const char* name;
    float temperature;
    float expected;
};

TEST(TableMethod, StraightLineInterpolatesExtrapolatesAndStopsAtZero) {
    const TabledRateRecord record = RecordWith({{20, 1.0f}, {40, 3.0f}}, -50, 150);
    const LineCase rows[] = {{"inside", 30, 2.0f}, {"above", 50, 4.0f}, {"below, negative", 5, 0.0f}};
    for (const LineCase& row : rows) {
        SCOPED_TRACE(row.name);
        const TableMethodOutcome outcome = TableMethod(record, row.temperature, 2);
        EXPECT_EQ(outcome.status, StatusCalculated);
        ASSERT_TRUE(outcome.rate);
        EXPECT_EQ(*outcome.rate, row.expected);
    }
}

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
