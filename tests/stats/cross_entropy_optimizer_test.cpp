#include "stats/cross_entropy_optimizer.h"

#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

constexpr double kLargestDouble = std::numeric_limits<double>::max();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// An optimiser over the box (0, 0) ... (100, 10) in two dimensions, otherwise at its defaults.
class OptimizerOnBox : public testing::Test {
  protected:
    OptimizerOnBox() {
        optimizer.dimension = 2;
        optimizer.lowerBounds.Refer(lower.data(), 2);
        optimizer.upperBounds.Refer(upper.data(), 2);
    }

    std::array<double, 2> lower = {0.0, 0.0};
    std::array<double, 2> upper = {100.0, 10.0};
    CrossEntropyOptimizer optimizer;
};

// A bowl with its floor, 10, at (30, 2) inside the box. (A floor at 0 would never meet the
// relative stopping test.)
double Bowl(const double* point) {
    return 10.0 + std::pow(point[0] - 30.0, 2) + std::pow(point[1] - 2.0, 2);
}

TEST(CrossEntropyOptimizer, StatusTextsAreIndexedByStatus) {
    const CrossEntropyOptimizer optimizer;
    ASSERT_NE(optimizer.messages, nullptr);
    const std::vector<std::string> expected = {
        "",
        "Ok",
        "Exception",
        "Non Successful search due to boundaries violation",
        "Non Successful search due to required accuracy violation",
        "Some of parameters not initialized",
    };
    EXPECT_EQ(*optimizer.messages, expected);
    EXPECT_EQ(optimizer.status, 0);
    EXPECT_EQ(optimizer.bestValue, kLargestDouble);
}

TEST(CrossEntropyOptimizer, CholeskyOfAnIndefiniteMatrixIsNotFinite) {
    const double sigma[2][2] = {{1.0, 2.0}, {2.0, 1.0}};
    const double* sigmaRows[] = {sigma[0], sigma[1]};
    double factor[2][2] = {};
    double* factorRows[] = {factor[0], factor[1]};
    CrossEntropyOptimizer::Cholesky(factorRows, sigmaRows, 2);
    EXPECT_TRUE(std::isnan(factor[1][1]));
}

TEST(CrossEntropyOptimizer, IndexOfMinTakesTheFirstSmallestNumber) {
    struct Row {
        const char* name;
        std::vector<double> values;
        std::int32_t expected;
    };
    const Row rows[] = {
        {"empty", {}, 0},
        {"single NaN", {kNaN}, 0},
        {"ties go to the first", {3.0, 1.0, 2.0, 1.0}, 1},
        {"negative zero equals zero", {0.0, -0.0}, 0},
        {"NaN first is passed over", {kNaN, 2.0, kNaN, 1.0}, 3},
        {"NaN later is passed over", {2.0, kNaN, 3.0}, 0},
        {"infinities are numbers", {kNaN, kInfinity, -kInfinity}, 2},
        {"all NaN", {kNaN, kNaN}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        NumVector values(static_cast<std::int32_t>(row.values.size()));
        for (std::size_t i = 0; i < row.values.size(); ++i) {
            values[static_cast<std::int32_t>(i)] = row.values[i];
        }
        EXPECT_EQ(CrossEntropyOptimizer::IndexOfMin(values), row.expected);
    }
}

TEST(CrossEntropyOptimizer, SelectEliteRanksNumbersAndNeverTakesNaN) {
    struct Row {
        const char* name;
        std::vector<double> values;
        std::size_t slots;
        std::vector<std::uint16_t> expected;  // the filled slots
    };
    const Row rows[] = {
        {"ascending, ties in index order", {3.0, 1.0, 2.0, 1.0, 0.5, 1.0}, 5, {4, 1, 3, 5, 2}},
        {"values at the largest double are numbers",
         {kLargestDouble, 1.0, kLargestDouble},
         3,
         {1, 0, 2}},
        {"infinities are taken once each", {kInfinity, 1.0, kInfinity}, 3, {1, 0, 2}},
        {"NaN values are left out", {kNaN, 2.0, kNaN, 1.0, 7.0}, 4, {3, 1, 4}},
        {"nothing but NaN", {kNaN, kNaN}, 2, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        NumVector values(static_cast<std::int32_t>(row.values.size()));
        for (std::size_t i = 0; i < row.values.size(); ++i) {
            values[static_cast<std::int32_t>(i)] = row.values[i];
        }
        std::vector<std::uint16_t> elite(row.slots, 999);
        const std::int32_t filled = CrossEntropyOptimizer::SelectElite(values, elite);
        ASSERT_EQ(filled, static_cast<std::int32_t>(row.expected.size()));
        elite.resize(row.expected.size());
        EXPECT_EQ(elite, row.expected);
    }
}

TEST_F(OptimizerOnBox, FindsTheFloorOfABowl) {
    ASSERT_EQ(optimizer.Run(Bowl), 0);
    EXPECT_TRUE(optimizer.converged);
    EXPECT_EQ(optimizer.status, CrossEntropyOptimizer::kStatusOk);
    EXPECT_EQ(optimizer.failed, 0);
    EXPECT_EQ(optimizer.messages->at(optimizer.status), "Ok");
    EXPECT_NEAR(optimizer.bestPoint[0], 30.0, 0.5);
    EXPECT_NEAR(optimizer.bestPoint[1], 2.0, 0.5);
    EXPECT_EQ(optimizer.bestValue, Bowl(optimizer.bestPoint.Data()));
    EXPECT_EQ(optimizer.evaluations, 500LL * optimizer.iterations);
}

TEST_F(OptimizerOnBox, FlatObjectiveStopsAtTheFirstTestOrNever) {
    struct Row {
        const char* name;
        double value;
        double relativeTolerance;
        double absoluteTolerance;
        int expectedReturn;
        std::int32_t expectedIterations;
    };
    // With every value equal, both windows hold zeros, so the mean change is 0.
    const Row rows[] = {
        {"relative test", 5.0, 0.001, 0.0, 0, 21},
        {"absolute test, where the relative one divides by zero", 0.0, 0.001, 1e-10, 0, 21},
        {"neither", 5.0, 0.0, 0.0, 1, 25},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        optimizer.maxIterations = 25;
        optimizer.relativeTolerance = row.relativeTolerance;
        optimizer.absoluteTolerance = row.absoluteTolerance;
        EXPECT_EQ(optimizer.Run([&row](const double*) { return row.value; }), row.expectedReturn);
        EXPECT_EQ(optimizer.iterations, row.expectedIterations);
        EXPECT_EQ(optimizer.converged, row.expectedReturn == 0);
        EXPECT_EQ(optimizer.bestValue, row.value);
    }
}

TEST_F(OptimizerOnBox, BestPointIsTheFirstPointToReachTheBestValue) {
    std::vector<double> firstPoint;
    const auto run = optimizer.Run([&firstPoint](const double* point) {
        if (firstPoint.empty()) {
            firstPoint.assign(point, point + 2);
        }
        return 1.0;
    });
    EXPECT_EQ(run, 0);
    ASSERT_EQ(firstPoint.size(), 2u);
    EXPECT_EQ(optimizer.bestPoint[0], firstPoint[0]);
    EXPECT_EQ(optimizer.bestPoint[1], firstPoint[1]);
}

TEST_F(OptimizerOnBox, NaNValuesNeverBecomeTheBestOrStopARun) {
    // NaN over the right half of the box: the search settles in the left half.
    optimizer.Run([](const double* point) { return point[0] > 50.0 ? kNaN : Bowl(point); });
    EXPECT_EQ(optimizer.status, CrossEntropyOptimizer::kStatusOk);
    EXPECT_FALSE(std::isnan(optimizer.bestValue));
    EXPECT_LE(optimizer.bestPoint[0], 50.0);

    // Nothing but NaN: no elite can be formed, the run ends in its first iteration.
    EXPECT_EQ(optimizer.Run([](const double*) { return kNaN; }), 1);
    EXPECT_EQ(optimizer.status, CrossEntropyOptimizer::kStatusAccuracyViolation);
    EXPECT_EQ(optimizer.iterations, 1);
    EXPECT_EQ(optimizer.bestValue, kLargestDouble);
    EXPECT_FALSE(optimizer.converged);

    // Nothing but infinity: the changes are inf - inf, which never meets a tolerance.
    optimizer.maxIterations = 25;
    EXPECT_EQ(optimizer.Run([](const double*) { return kInfinity; }), 1);
    EXPECT_EQ(optimizer.status, CrossEntropyOptimizer::kStatusAccuracyViolation);
    EXPECT_EQ(optimizer.iterations, 25);
    EXPECT_EQ(optimizer.bestValue, kLargestDouble);
}

TEST_F(OptimizerOnBox, UnusableSettingsFailBeforeAnyDraw) {
    struct Row {
        const char* name;
        void (*spoil)(CrossEntropyOptimizer&);
    };
    const Row rows[] = {
        {"dimension 0", [](CrossEntropyOptimizer& o) { o.dimension = 0; }},
        {"bounds shorter than the dimension", [](CrossEntropyOptimizer& o) { o.dimension = 3; }},
        {"no bounds", [](CrossEntropyOptimizer& o) { o.lowerBounds.Clear(); }},
        {"no points", [](CrossEntropyOptimizer& o) { o.sampleSize = 0; }},
        {"more points than elite indices reach",
         [](CrossEntropyOptimizer& o) { o.sampleSize = 65536; }},
        {"no elite", [](CrossEntropyOptimizer& o) { o.eliteCount = 0; }},
        {"more elite than points", [](CrossEntropyOptimizer& o) { o.eliteCount = 501; }},
        {"no history", [](CrossEntropyOptimizer& o) { o.historyLength = 0; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CrossEntropyOptimizer spoiled;
        spoiled.dimension = 2;
        spoiled.lowerBounds.Refer(lower.data(), 2);
        spoiled.upperBounds.Refer(upper.data(), 2);
        row.spoil(spoiled);
        EXPECT_EQ(spoiled.Run(Bowl), 1);
        EXPECT_EQ(spoiled.status, CrossEntropyOptimizer::kStatusNotInitialized);
        EXPECT_EQ(spoiled.failed, 1);
        EXPECT_EQ(spoiled.evaluations, 0);
    }
}

TEST_F(OptimizerOnBox, NoDrawAttemptsAllowedFailsOnTheBoundaries) {
    optimizer.maxDrawAttempts = 0;
    EXPECT_EQ(optimizer.Run(Bowl), 1);
    EXPECT_EQ(optimizer.status, CrossEntropyOptimizer::kStatusBoundariesViolation);
    EXPECT_EQ(optimizer.iterations, 1);
    EXPECT_EQ(optimizer.evaluations, 0);
}

TEST_F(OptimizerOnBox, ACoordinateOnABoundIsInside) {
    // A box of zero width in the second coordinate, and no spread there: the coordinate lands
    // on both bounds at once.
    lower = {0.0, 3.0};
    upper = {100.0, 3.0};
    NumVector mean(2);
    mean[0] = 50.0;
    mean[1] = 3.0;
    double factor[2][2] = {{1.0, 0.0}, {0.0, 0.0}};
    const double* factorRows[] = {factor[0], factor[1]};
    double deviates[2];
    double point[2];
    bool makeFreshPair = true;
    SeedRandom(1);
    EXPECT_TRUE(optimizer.DrawAttempt(mean, factorRows, deviates, point, makeFreshPair));
    EXPECT_FALSE(optimizer.drawRejected);
    EXPECT_EQ(point[1], 3.0);
    EXPECT_EQ(point[0], 50.0 + deviates[0]);
}

TEST_F(OptimizerOnBox, RepeatedRunsAgree) {
    optimizer.Run(Bowl);
    const double firstValue = optimizer.bestValue;
    const double firstEta = optimizer.bestPoint[0];
    const std::int64_t firstRejected = optimizer.rejectedDrawAttempts;
    static_cast<void>(DrawRandom());  // whatever happens in between, a run reseeds
    optimizer.Run(Bowl);
    EXPECT_EQ(optimizer.bestValue, firstValue);
    EXPECT_EQ(optimizer.bestPoint[0], firstEta);
    EXPECT_EQ(optimizer.rejectedDrawAttempts, firstRejected);
}

}  // namespace
}  // namespace tavrin21
