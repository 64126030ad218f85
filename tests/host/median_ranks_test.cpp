#include "host/median_ranks.h"

#include "host/reduced_bias.h"

#include <algorithm>
#include <cmath>
#include <string>

#include <gtest/gtest.h>

namespace tavrin21::host {
namespace {

struct RankCase {
    const char* name;
    WeibullSample sample;
    std::vector<double> expectedRanks;  // published to four decimals, failures in time order
};

// Built at first use: GCC 12 at -O3 warns falsely (maybe-uninitialized) on a static array of
// these aggregates.
std::vector<RankCase> RankCases() {
    return {
        // The published check of adjusted ranks: ten units, four of them suspended.
        {"FourSuspendedOfTen",
         {{150, 560, 800, 1720, 5230, 6890}, {340, 1130, 2470, 4210}},
         {0.0673, 0.1741, 0.2810, 0.4056, 0.6134, 0.8211}},
        // Without suspensions the orders are 1..n: Bernard's (i - 0.3) / (n + 0.4), unsorted input.
        {"CompleteFive", {{40, 10, 30, 20, 50}, {}}, {0.1296, 0.3148, 0.5000, 0.6852, 0.8704}},
        // A suspension tied with a failure outlived it; suspensions after the last failure change
        // nothing but n.
        {"TiesAndLateSuspensions", {{100, 200}, {100, 300, 400}}, {0.1296, 0.3611}},
    };
}

TEST(MedianRanks, MatchPublishedPlottingPositions) {
    for (const RankCase& row : RankCases()) {
        SCOPED_TRACE(row.name);
        const std::vector<RankedFailure> ranks = MedianRanks(row.sample);
        std::vector<double> times = row.sample.failures;
        std::ranges::sort(times);
        ASSERT_EQ(ranks.size(), row.expectedRanks.size());
        for (std::size_t i = 0; i < ranks.size(); ++i) {
            EXPECT_EQ(ranks[i].time, times[i]) << "failure " << i;
            EXPECT_NEAR(ranks[i].medianRank, row.expectedRanks[i], 0.00005) << "failure " << i;
        }
    }
}

// C4(n) from published tables of the standard deviation's bias factor (four decimals).
TEST(ReducedBiasShape, IsTheShapeTimesC4ToThePowerThreePointFive) {
    const struct {
        std::size_t failures;
        double c4;
    } kRows[] = {{2, 0.7979}, {3, 0.8862}, {5, 0.9400}, {10, 0.9727}, {25, 0.9896}};
    for (const auto& row : kRows) {
        SCOPED_TRACE(std::to_string(row.failures) + " failures");
        EXPECT_NEAR(std::pow(*ReducedBiasShape(2.0, row.failures) / 2.0, 1 / 3.5), row.c4, 0.00005);
    }
    EXPECT_FALSE(ReducedBiasShape(2.0, 1).has_value());
}

}  // namespace
}  // namespace tavrin21::host
