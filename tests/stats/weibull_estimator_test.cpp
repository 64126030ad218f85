// The estimator, and the optimiser on its objective, against the independently computed Weibull
// vectors, then the cases those vectors do not reach. The reference uses the same algorithm and
// random sequence; with the module's own pow and log and its table of the deviates' factors no
// C library function decides a bit, so every double is compared bit for bit, on every platform.

#include "stats/weibull_estimator.h"

#include "stats/cross_entropy_optimizer.h"
#include "stats/weibull_objective.h"
#include "tests/support/vectors.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {

// The optimiser settings a vector run changes, by their names; the others keep their defaults.
// clang-format off
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(CrossEntropyOptimizer, maxIterations,
    warmupIterations, sampleSize, eliteCount, relativeTolerance, historyLength, covSmoothingPower,
    maxDrawAttempts)
// clang-format on

namespace {

using nlohmann::json;
using test::BitsOf;
using Times = std::vector<double>;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

const json& Vectors() {
    static const json vectors = test::LoadVectors("weibull.json");
    return vectors;
}

void ExpectBits(double actual, const json& expected, const char* what) {
    EXPECT_EQ(BitsOf(actual), BitsOf(expected.get<double>()))
        << what << ": " << testing::PrintToString(actual) << " against " << expected;
}

// What the vectors say of a search's work and best value, for a fit and for a direct run alike.
void ExpectSearch(const SearchCounts& counts, double bestValue, const json& expected) {
    EXPECT_EQ(counts.iterations, expected["iterations"].get<int>());
    EXPECT_EQ(counts.evaluations, expected["evaluations"].get<int>());
    EXPECT_EQ(counts.rejectedDrawAttempts, expected["rejected_draw_attempts"].get<int>());
    ExpectBits(bestValue, expected["best_value"], "best value");
}

// Bit for bit, against doubles or their 16-hex-digit patterns.
void ExpectMatrixBits(const NumMatrix& actual, const json& expected) {
    for (std::int32_t i = 0; i < actual.RowCount(); ++i) {
        for (std::int32_t j = 0; j < actual.ColumnCount(); ++j) {
            const json& want = expected[i][j];
            EXPECT_EQ(BitsOf(actual.Rows()[i][j]),
                      BitsOf(want.is_string() ? test::DoubleFromBits(want) : want.get<double>()))
                << "[" << i << "][" << j << "] = " << actual.Rows()[i][j];
        }
    }
}

// Loads the estimator as the field-data method does: views of the caller's arrays are assigned,
// so the estimator works on its own copies.
void Load(WeibullEstimator& estimator, Times& failures, Times& suspensions, double location) {
    NumVector view;
    view.Refer(failures.data(), static_cast<std::int32_t>(failures.size()));
    estimator.failures.Assign(view);
    view.Refer(suspensions.data(), static_cast<std::int32_t>(suspensions.size()));
    estimator.suspensions.Assign(view);
    estimator.failureCount = static_cast<std::int32_t>(failures.size());
    estimator.suspensionCount = static_cast<std::int32_t>(suspensions.size());
    estimator.location = location;
}

// Every set on 1, 2, 3 and 8 evaluation threads: the vectors' results bit for bit each time (so
// the same bits on any number of threads), whatever was drawn between the fits.
TEST(WeibullVectors, EveryDataSetOnAnyNumberOfThreadsAndTheObjectiveAtItsPoints) {
    ASSERT_EQ(Vectors()["data_sets"].size(), 12u);
    for (const json& dataSet : Vectors()["data_sets"]) {
        SCOPED_TRACE(dataSet["name"].get<std::string>());
        Times failures = dataSet["failures"], suspensions = dataSet["suspensions"];
        const json& expected = dataSet["expected"];
        for (const std::int32_t threads : {1, 2, 3, 8}) {
            SCOPED_TRACE(testing::Message() << threads << " threads");
            WeibullEstimator estimator;
            Load(estimator, failures, suspensions, dataSet["location"].get<double>());
            estimator.evaluationThreads = threads;
            EXPECT_EQ(estimator.Estimate(), expected["return_value"].get<int>());
            static_cast<void>(DrawRandom());
            EXPECT_EQ(estimator.status, expected["status"].get<int>());
            EXPECT_EQ(estimator.failed, expected["failed"].get<int>());
            ExpectBits(estimator.shape, expected["shape"], "shape");
            ExpectBits(estimator.scale, expected["scale"], "scale");
            ExpectBits(estimator.shapeCorrected, expected["shape_corrected"], "corrected");
            // Every set converges, and the best value is the objective at the fitted point.
            ASSERT_TRUE(dataSet["optimizer"]["converged"].get<bool>());
            const double fitted[] = {estimator.scale, estimator.shape};
            ExpectSearch(estimator.search, estimator.NegLogLikelihood(fitted),
                         dataSet["optimizer"]);
            // Estimate shifted its own copies of the times in place, never the caller's arrays.
            EXPECT_EQ(failures, dataSet["failures"].get<Times>());
            if (threads > 1) {
                continue;
            }
            for (const json& row : dataSet["neg_log_likelihood"]) {
                const double point[] = {row["eta"].get<double>(), row["beta"].get<double>()};
                SCOPED_TRACE(testing::Message() << "eta " << point[0] << ", beta " << point[1]);
                ExpectBits(estimator.NegLogLikelihood(point), row["value"], "objective");
            }
        }
    }
}

// The optimiser on the objective of the set of ten times, shifted as Estimate shifts them: whole
// runs with changed settings, each starting from the same law.
TEST(WeibullVectors, OptimizerRunsWithChangedSettingsFromItsInitialLaw) {
    const json& dataSet = Vectors()["data_sets"][3];
    ASSERT_EQ(dataSet["name"], "10 times, shape 1.5, scale 500");
    Times failures = dataSet["failures"], suspensions = dataSet["suspensions"];
    for (Times* times : {&failures, &suspensions}) {
        std::ranges::for_each(*times, [&](double& t) { t -= dataSet["location"].get<double>(); });
    }
    const WeibullObjective objective(failures, suspensions);
    double lower[] = {0.0, 0.0}, upper[] = {dataSet["scale_upper_bound"].get<double>(), 10.0};
    ASSERT_EQ(Vectors()["optimizer_runs"].size(), 8u);
    for (const json& run : Vectors()["optimizer_runs"]) {
        SCOPED_TRACE(run["settings"].dump());
        CrossEntropyOptimizer optimizer;
        optimizer.dimension = 2;
        optimizer.lowerBounds.Refer(lower, 2);
        optimizer.upperBounds.Refer(upper, 2);
        run["settings"].get_to(optimizer);
        NumVector mean(2);
        NumMatrix covariance(2, 2);
        optimizer.InitialLaw(mean, covariance);
        EXPECT_EQ(std::tuple(mean[0], mean[1]), std::tuple(upper[0] * 0.5, 5.0));
        ExpectMatrixBits(covariance, Vectors()["cholesky"][2]["sigma"]);  // the third example

        const int returned = optimizer.Run(objective);
        EXPECT_EQ(std::tuple(returned, optimizer.status, optimizer.failed, optimizer.converged),
                  std::tuple(run["return_value"].get<int>(), run["status"].get<int>(),
                             run["failed"].get<int>(), run["converged"].get<bool>()));
        ExpectSearch(optimizer.counts, optimizer.bestValue, run);
        ASSERT_EQ(optimizer.bestPoint.Size(), 2);
        ExpectBits(optimizer.bestPoint[0], run["best_point"][0], "best scale");
        ExpectBits(optimizer.bestPoint[1], run["best_point"][1], "best shape");
    }
}

// A block of points gives each point's value bit for bit as alone: points inside the box and on
// its edges, where (1/eta)^beta or a logarithm leaves its common path, on times that fill one
// block of powers and on times that spill into a second.
TEST(WeibullObjective, BlocksOfPointsBitForBitOneAtATime) {
    std::vector<double> coordinates;
    // The last points, which fill no group of their own, are ordinary ones.
    for (const double eta : {kNaN, kInf, 1e300, 0.0, 1e-300, 1e-3, 0.5, 1.0, 1.02, 300.0, 1e5}) {
        for (const double beta : {kNaN, 0.0, 1e-20, 10.0, 0.5, 0.999, 1.0, 1.05, 1.5}) {
            coordinates.insert(coordinates.end(), {eta, beta});
        }
    }
    std::vector<const double*> points;
    for (std::size_t k = 0; k < coordinates.size(); k += 2) {
        points.push_back(&coordinates[k]);
    }
    for (const int set : {3, 6}) {
        const json& dataSet = Vectors()["data_sets"][set];
        SCOPED_TRACE(dataSet["name"].get<std::string>());
        const WeibullObjective objective(dataSet["failures"].get<Times>(),
                                         dataSet["suspensions"].get<Times>());
        std::vector<double> values(points.size());
        objective.Evaluate(points.data(), static_cast<std::int32_t>(points.size()), values.data());
        for (std::size_t k = 0; k < points.size(); ++k) {
            const double alone = objective(points[k]);
            EXPECT_TRUE(BitsOf(values[k]) == BitsOf(alone) ||
                        (std::isnan(alone) && std::isnan(values[k])))
                << "eta " << points[k][0] << ", beta " << points[k][1];
        }
    }
}

TEST(WeibullVectors, CholeskyExamples) {
    ASSERT_EQ(Vectors()["cholesky"].size(), 3u);
    for (const json& example : Vectors()["cholesky"]) {
        SCOPED_TRACE(example["sigma"].dump());
        const auto n = static_cast<std::int32_t>(example["sigma"].size());
        NumMatrix sigma(n, n), factor(n, n);
        for (std::int32_t i = 0; i < n; ++i) {
            std::ranges::copy(example["sigma"][i].get<Times>(), sigma.Rows()[i]);
        }
        CrossEntropyOptimizer::Cholesky(factor.Rows(), sigma.Rows(), n);
        ExpectMatrixBits(factor, example["L_bits"]);
    }
}

TEST(WeibullEstimator, RefusesWhatItCannotFitAndKeepsItsResultsAtZero) {
    constexpr auto kNotInitialized = WeibullEstimator::kStatusNotInitialized;
    constexpr auto kNotConverged = WeibullEstimator::kStatusNotConverged;
    struct Row {
        const char* name;
        Times failures, suspensions;
        std::int32_t expectedStatus;
        void (*change)(WeibullEstimator&) = [](WeibullEstimator&) {};  // after loading at 20
    };
    const Row rows[] = {
        {"no times", {}, {}, kNotInitialized},
        {"both counts 0 over data", {30}, {}, kNotInitialized, [](auto& e) { e.failureCount = 0; }},
        {"count above the data", {30}, {}, kNotInitialized, [](auto& e) { e.failureCount = 3; }},
        {"failure at the origin", {30, 20, 40}, {}, kNotConverged},
        {"suspension before the origin", {30}, {25, 19.5}, kNotConverged},
        {"zero time without origin", {0, 5}, {}, kNotConverged, [](auto& e) { e.location = 0.0; }},
        {"time not a number", {30, kNaN}, {}, kNotConverged},
        // No spread in the shape: every draw is NaN and the first point uses up its attempts.
        {"shape bound 0", {40, 60}, {}, kNotConverged, [](auto& e) { e.shapeUpperBound = 0.0; }},
    };
    for (Row row : rows) {
        SCOPED_TRACE(row.name);
        WeibullEstimator estimator;
        Load(estimator, row.failures, row.suspensions, 20.0);
        row.change(estimator);
        const int returned = estimator.Estimate();
        EXPECT_EQ(
            std::tuple(returned, estimator.status, estimator.failed, estimator.search.evaluations,
                       estimator.scale, estimator.shape, estimator.shapeCorrected),
            std::tuple(1, row.expectedStatus, 1, 0, 0.0, 0.0, 0.0));
    }
}

// A fit hands its evaluations to as many threads as its times pay for, and to no more than it
// may use.
TEST(WeibullEstimator, EvaluatesOnTheThreadsItsTimesPayFor) {
    const struct {
        std::int32_t times;
        std::int32_t allowed;
        std::int32_t used;
    } rows[] = {{1, 8, 2}, {10, 8, 4}, {200, 1, 1}, {200, 8, 8}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.times << " times, " << row.allowed << " allowed");
        Times failures(row.times), suspensions;
        std::iota(failures.begin(), failures.end(), 10.0);
        WeibullEstimator estimator;
        Load(estimator, failures, suspensions, 0.0);
        estimator.evaluationThreads = row.allowed;
        EXPECT_EQ(estimator.Estimate(), 0);
        EXPECT_EQ(estimator.search.evaluationThreads, row.used);
    }
}

}  // namespace
}  // namespace tavrin21
