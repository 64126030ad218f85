#include "stats/weibull_estimator.h"

#include "tests/support/vectors.h"

#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

using test::BitsOf;

// Loads the estimator the way the field-data method does: views of the caller's arrays are
// assigned, so the estimator works on its own copies.
void Load(WeibullEstimator& estimator,
          std::vector<double>& failureTimes,
          std::vector<double>& suspensionTimes,
          double location) {
    NumVector failureView;
    NumVector suspensionView;
    failureView.Refer(failureTimes.data(), static_cast<std::int32_t>(failureTimes.size()));
    suspensionView.Refer(suspensionTimes.data(), static_cast<std::int32_t>(suspensionTimes.size()));
    estimator.failures.Assign(failureView);
    estimator.suspensions.Assign(suspensionView);
    estimator.failureCount = failureView.Size();
    estimator.suspensionCount = suspensionView.Size();
    estimator.location = location;
}

TEST(WeibullEstimator, NegLogLikelihoodWorkedExamples) {
    struct Row {
        const char* name;
        std::vector<double> failures;
        std::vector<double> suspensions;
        double eta;
        double beta;
        double expected;
    };
    const Row rows[] = {
        {"exponential: 2 ln 2 + 3", {1, 2}, {3}, 2.0, 1.0, 4.386294361119891},
        {"three failures and a suspension", {5, 8, 12}, {15}, 10.0, 2.0, 10.142282912382502},
        {"suspensions only: survival terms alone", {}, {10, 20}, 10.0, 2.0, 5.0},
    };
    for (Row row : rows) {
        SCOPED_TRACE(row.name);
        WeibullEstimator estimator;
        Load(estimator, row.failures, row.suspensions, 0.0);
        const double point[] = {row.eta, row.beta};
        EXPECT_DOUBLE_EQ(estimator.NegLogLikelihood(point), row.expected);
        EXPECT_EQ(BitsOf(estimator.LikelihoodObjective()(point)),
                  BitsOf(estimator.NegLogLikelihood(point)));
    }
}

TEST(WeibullEstimator, SmallSampleFactor) {
    struct Row {
        std::int32_t failureCount;
        double expected;
    };
    const Row rows[] = {{0, 0.4090389719282998},
                        {1, 0.4090389719282998},
                        {2, 0.4090389719282998},
                        {3, 0.6441650805351578},
                        {10, 0.9073316501570841}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.failureCount << " failures");
        EXPECT_EQ(SmallSampleFactor(row.failureCount), row.expected);
    }
}

TEST(WeibullEstimator, ResetGivesEmptyOwningTimesAndTheStatusTexts) {
    WeibullEstimator estimator;
    EXPECT_EQ(estimator.failures.Tag(), StorageTag::Owning);
    EXPECT_EQ(estimator.failures.Size(), 0);
    EXPECT_EQ(estimator.suspensions.Size(), 0);
    EXPECT_EQ(estimator.shapeUpperBound, 10.0);
    ASSERT_NE(estimator.messages, nullptr);
    const std::vector<std::string> expected = {
        "",
        "Ok",
        "Exception",
        "Not succesful runing of Cross Entropy algorithm",
        "Some of parameters not initialized",
    };
    EXPECT_EQ(*estimator.messages, expected);
}

TEST(WeibullEstimator, RefusesDataItCannotFitWithoutSearching) {
    struct Row {
        const char* name;
        std::vector<double> failures;
        std::vector<double> suspensions;
        std::int32_t failureCount;  // -1: all of them
        double location;
        std::int32_t expectedStatus;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Row rows[] = {
        {"no times", {}, {}, -1, 20.0, WeibullEstimator::kStatusNotInitialized},
        {"both counts 0 over data",
         {30, 40},
         {50},
         0,
         20.0,
         WeibullEstimator::kStatusNotInitialized},
        {"count above the data", {30, 40}, {}, 3, 20.0, WeibullEstimator::kStatusNotInitialized},
        {"failure at the origin",
         {30, 20, 40},
         {},
         -1,
         20.0,
         WeibullEstimator::kStatusNotConverged},
        {"suspension before the origin",
         {30},
         {25, 19.5},
         -1,
         20.0,
         WeibullEstimator::kStatusNotConverged},
        {"zero time without origin", {0, 5}, {}, -1, 0.0, WeibullEstimator::kStatusNotConverged},
        {"time not a number", {30, nan}, {}, -1, 20.0, WeibullEstimator::kStatusNotConverged},
    };
    for (Row row : rows) {
        SCOPED_TRACE(row.name);
        WeibullEstimator estimator;
        Load(estimator, row.failures, row.suspensions, row.location);
        if (row.failureCount >= 0) {
            estimator.failureCount = row.failureCount;
            if (row.failureCount == 0) {
                estimator.suspensionCount = 0;
            }
        }
        EXPECT_EQ(estimator.Estimate(), 1);
        EXPECT_EQ(estimator.status, row.expectedStatus);
        EXPECT_EQ(estimator.failed, 1);
        EXPECT_EQ(estimator.search.evaluations, 0);
        EXPECT_EQ(estimator.scale, 0.0);
        EXPECT_EQ(estimator.shape, 0.0);
        EXPECT_EQ(estimator.shapeCorrected, 0.0);
    }
}

TEST(WeibullEstimator, ADrawLimitLeavesTheResultsAtZero) {
    // A shape bound of 0 leaves no spread in the shape: the sampling factor is 0 / sqrt(0), every
    // draw is NaN, and the first point uses up its attempts.
    std::vector<double> failures = {40, 60, 90};
    std::vector<double> suspensions;
    WeibullEstimator estimator;
    Load(estimator, failures, suspensions, 20.0);
    estimator.shapeUpperBound = 0.0;
    EXPECT_EQ(estimator.Estimate(), 1);
    EXPECT_EQ(estimator.status, WeibullEstimator::kStatusNotConverged);
    EXPECT_EQ(estimator.search.status, CrossEntropyOptimizer::kStatusBoundariesViolation);
    EXPECT_EQ(estimator.search.rejectedDrawAttempts, 3000);
    EXPECT_EQ(estimator.scale, 0.0);
    EXPECT_EQ(estimator.shape, 0.0);
}

TEST(WeibullEstimator, ShiftsItsOwnCopiesByTheLocation) {
    std::vector<double> failures = {38.5, 61.25, 97.0};
    std::vector<double> suspensions = {50.0};
    for (const double location : {0.0, 20.0}) {
        SCOPED_TRACE(testing::Message() << "location " << location);
        WeibullEstimator estimator;
        Load(estimator, failures, suspensions, location);
        ASSERT_EQ(estimator.Estimate(), 0);
        EXPECT_EQ(estimator.failures[1], 61.25 - location);
        EXPECT_EQ(estimator.suspensions[0], 50.0 - location);
        EXPECT_EQ(failures[1], 61.25);  // the caller's array is untouched
        EXPECT_EQ(suspensions[0], 50.0);
    }
}

TEST(WeibullEstimator, SameDataGivesTheSameResult) {
    std::vector<double> failures = {45.5, 120.0, 230.25, 77.0};
    std::vector<double> suspensions = {88.0, 300.0};
    WeibullEstimator first;
    WeibullEstimator second;
    Load(first, failures, suspensions, 20.0);
    Load(second, failures, suspensions, 20.0);
    ASSERT_EQ(first.Estimate(), 0);
    ASSERT_EQ(second.Estimate(), 0);
    EXPECT_EQ(BitsOf(first.scale), BitsOf(second.scale));
    EXPECT_EQ(BitsOf(first.shape), BitsOf(second.shape));
    EXPECT_EQ(BitsOf(first.shapeCorrected), BitsOf(second.shapeCorrected));
    EXPECT_EQ(first.search.evaluations, second.search.evaluations);
    EXPECT_EQ(first.search.rejectedDrawAttempts, second.search.rejectedDrawAttempts);
}

TEST(WeibullEstimator, ThreadCountDoesNotChangeABit) {
    const auto vectors = test::LoadVectors("weibull.json");
    const auto& dataSet = vectors["data_sets"][6];  // 200 times
    std::vector<double> failures = dataSet["failures"].get<std::vector<double>>();
    std::vector<double> suspensions = dataSet["suspensions"].get<std::vector<double>>();

    WeibullEstimator single;
    Load(single, failures, suspensions, 20.0);
    ASSERT_EQ(single.Estimate(), 0);
    for (const std::int32_t threads : {2, 3, 8}) {
        SCOPED_TRACE(testing::Message() << threads << " threads");
        WeibullEstimator parallel;
        Load(parallel, failures, suspensions, 20.0);
        parallel.evaluationThreads = threads;
        ASSERT_EQ(parallel.Estimate(), 0);
        EXPECT_EQ(BitsOf(parallel.scale), BitsOf(single.scale));
        EXPECT_EQ(BitsOf(parallel.shape), BitsOf(single.shape));
        EXPECT_EQ(BitsOf(parallel.search.bestValue), BitsOf(single.search.bestValue));
        EXPECT_EQ(parallel.search.iterations, single.search.iterations);
        EXPECT_EQ(parallel.search.evaluations, single.search.evaluations);
    }
}

}  // namespace
}  // namespace tavrin21
