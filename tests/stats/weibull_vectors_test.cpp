// The estimator and the optimiser against the independently computed Weibull vectors: the same
// algorithm, random sequence and C math library, so results are expected to agree to the last
// bit; no more than 1e-12 relative is accepted.

#include "stats/cross_entropy_optimizer.h"
#include "stats/weibull_estimator.h"
#include "tests/support/vectors.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

using nlohmann::json;
using test::BitsOf;
using test::DoubleFromBits;

constexpr double kRelativeTolerance = 1e-12;

// Counts how the compared doubles agree, for the summary the suite records.
struct Agreement {
    int compared = 0;
    int identical = 0;
    double maxRelativeError = 0.0;
};

class WeibullVectors : public testing::Test {
  protected:
    static void SetUpTestSuite() { vectors_ = new json(test::LoadVectors("weibull.json")); }
    static void TearDownTestSuite() {
        delete vectors_;
        vectors_ = nullptr;
    }
    void TearDown() override {
        if (agreement_.compared == 0) {
            return;
        }
        RecordProperty("doubles_compared", agreement_.compared);
        RecordProperty("doubles_identical", agreement_.identical);
        RecordProperty("max_relative_error", testing::PrintToString(agreement_.maxRelativeError));
    }

    static const json& Vectors() { return *vectors_; }

    void ExpectClose(double actual, double expected, const std::string& what) {
        const double error =
            expected == 0.0 ? std::fabs(actual) : std::fabs((actual - expected) / expected);
        ++agreement_.compared;
        if (BitsOf(actual) == BitsOf(expected)) {
            ++agreement_.identical;
        }
        agreement_.maxRelativeError = std::max(agreement_.maxRelativeError, error);
        EXPECT_LE(error, kRelativeTolerance) << what << ": " << testing::PrintToString(actual)
                                             << " against " << testing::PrintToString(expected);
    }

    Agreement agreement_;

  private:
    static json* vectors_;
};

json* WeibullVectors::vectors_ = nullptr;

std::vector<double> Times(const json& values) {
    return values.get<std::vector<double>>();
}

// The estimator loaded as the field-data method loads it.
void Load(WeibullEstimator& estimator,
          std::vector<double>& failures,
          std::vector<double>& suspensions,
          double location) {
    NumVector failureView;
    NumVector suspensionView;
    failureView.Refer(failures.data(), static_cast<std::int32_t>(failures.size()));
    suspensionView.Refer(suspensions.data(), static_cast<std::int32_t>(suspensions.size()));
    estimator.failures.Assign(failureView);
    estimator.suspensions.Assign(suspensionView);
    estimator.failureCount = failureView.Size();
    estimator.suspensionCount = suspensionView.Size();
    estimator.location = location;
}

// The times of a data set already shifted by its location, in an estimator without location.
void LoadShifted(WeibullEstimator& estimator, const json& dataSet) {
    const double location = dataSet["location"];
    std::vector<double> failures = Times(dataSet["failures"]);
    std::vector<double> suspensions = Times(dataSet["suspensions"]);
    for (double& t : failures) {
        t = t - location;
    }
    for (double& t : suspensions) {
        t = t - location;
    }
    Load(estimator, failures, suspensions, 0.0);
}

TEST_F(WeibullVectors, EstimateReproducesEveryDataSet) {
    int checked = 0;
    for (const json& dataSet : Vectors()["data_sets"]) {
        SCOPED_TRACE(dataSet["name"].get<std::string>());
        std::vector<double> failures = Times(dataSet["failures"]);
        std::vector<double> suspensions = Times(dataSet["suspensions"]);
        WeibullEstimator estimator;
        Load(estimator, failures, suspensions, dataSet["location"]);

        const json& expected = dataSet["expected"];
        EXPECT_EQ(estimator.Estimate(), expected["return_value"].get<int>());
        EXPECT_EQ(estimator.status, expected["status"].get<int>());
        EXPECT_EQ(estimator.failed, expected["failed"].get<int>());
        ExpectClose(estimator.shape, DoubleFromBits(expected["shape_bits"]), "shape");
        ExpectClose(estimator.scale, DoubleFromBits(expected["scale_bits"]), "scale");
        ExpectClose(estimator.shapeCorrected, expected["shape_corrected"], "corrected shape");
        EXPECT_EQ(BitsOf(static_cast<float>(estimator.shape)),
                  BitsOf(test::SingleFromBits(expected["result_rate"]["bits"])));
        EXPECT_EQ(BitsOf(static_cast<float>(estimator.scale)),
                  BitsOf(test::SingleFromBits(expected["result_scale"]["bits"])));

        const json& search = dataSet["optimizer"];
        EXPECT_EQ(estimator.search.status, search["status"].get<int>());
        EXPECT_EQ(estimator.search.converged, search["converged"].get<bool>());
        EXPECT_EQ(estimator.search.iterations, search["iterations"].get<int>());
        EXPECT_EQ(estimator.search.evaluations, search["evaluations"].get<std::int64_t>());
        EXPECT_EQ(estimator.search.rejectedDrawAttempts,
                  search["rejected_draw_attempts"].get<std::int64_t>());
        ExpectClose(estimator.search.bestValue, DoubleFromBits(search["best_value_bits"]),
                    "best value");

        // The times as the estimator shifted them give the mean behind the box.
        double sum = 0.0;
        for (std::int32_t i = 0; i < estimator.failureCount; ++i) {
            sum += estimator.failures[i];
        }
        double suspensionSum = 0.0;
        for (std::int32_t i = 0; i < estimator.suspensionCount; ++i) {
            suspensionSum += estimator.suspensions[i];
        }
        const double mean =
            (sum + suspensionSum) / (estimator.failureCount + estimator.suspensionCount);
        ExpectClose(mean, dataSet["shifted_mean"], "shifted mean");
        ++checked;
    }
    EXPECT_EQ(checked, 12);
}

TEST_F(WeibullVectors, NegLogLikelihoodAtTheListedPoints) {
    int checked = 0;
    for (const json& dataSet : Vectors()["data_sets"]) {
        SCOPED_TRACE(dataSet["name"].get<std::string>());
        WeibullEstimator estimator;
        LoadShifted(estimator, dataSet);
        const Objective forRun = estimator.LikelihoodObjective();
        for (const json& row : dataSet["neg_log_likelihood"]) {
            const double point[] = {row["eta"], row["beta"]};
            SCOPED_TRACE(testing::Message() << "eta " << point[0] << ", beta " << point[1]);
            const double value = estimator.NegLogLikelihood(point);
            ExpectClose(value, DoubleFromBits(row["value_bits"]), "objective");
            EXPECT_EQ(BitsOf(forRun(point)), BitsOf(value)) << "logarithms taken once differ";
            ++checked;
        }
    }
    EXPECT_EQ(checked, 72);
}

TEST_F(WeibullVectors, OptimizerRunsWithChangedSettings) {
    const json* dataSet = nullptr;
    for (const json& candidate : Vectors()["data_sets"]) {
        if (candidate["name"] == "10 times, shape 1.5, scale 500") {
            dataSet = &candidate;
        }
    }
    ASSERT_NE(dataSet, nullptr);
    WeibullEstimator estimator;
    LoadShifted(estimator, *dataSet);
    double lower[] = {0.0, 0.0};
    double upper[] = {100 * (*dataSet)["shifted_mean"].get<double>(), 10.0};

    int checked = 0;
    for (const json& run : Vectors()["optimizer_runs"]) {
        SCOPED_TRACE(run["settings"].dump());
        CrossEntropyOptimizer optimizer;
        optimizer.lowerBounds.Refer(lower, 2);
        optimizer.upperBounds.Refer(upper, 2);
        optimizer.dimension = 2;
        optimizer.relativeTolerance = 0.001;
        for (const auto& [name, value] : run["settings"].items()) {
            if (name == "maxIterations") {
                optimizer.maxIterations = value;
            } else if (name == "warmupIterations") {
                optimizer.warmupIterations = value;
            } else if (name == "sampleSize") {
                optimizer.sampleSize = value;
            } else if (name == "eliteCount") {
                optimizer.eliteCount = value;
            } else if (name == "relativeTolerance") {
                optimizer.relativeTolerance = value;
            } else if (name == "historyLength") {
                optimizer.historyLength = value;
            } else if (name == "covSmoothingPower") {
                optimizer.covSmoothingPower = value;
            } else if (name == "maxDrawAttempts") {
                optimizer.maxDrawAttempts = value;
            } else {
                ADD_FAILURE() << "setting " << name << " not known to the test";
            }
        }

        EXPECT_EQ(optimizer.Run(estimator), run["return_value"].get<int>());
        EXPECT_EQ(optimizer.status, run["status"].get<int>());
        EXPECT_EQ(optimizer.failed, run["failed"].get<int>());
        EXPECT_EQ(optimizer.converged, run["converged"].get<bool>());
        EXPECT_EQ(optimizer.iterations, run["iterations"].get<int>());
        EXPECT_EQ(optimizer.evaluations, run["evaluations"].get<std::int64_t>());
        EXPECT_EQ(optimizer.rejectedDrawAttempts,
                  run["rejected_draw_attempts"].get<std::int64_t>());
        ExpectClose(optimizer.bestValue, run["best_value"], "best value");
        ASSERT_EQ(optimizer.bestPoint.Size(), 2);
        ExpectClose(optimizer.bestPoint[0], run["best_point"][0], "best scale");
        ExpectClose(optimizer.bestPoint[1], run["best_point"][1], "best shape");
        ++checked;
    }
    EXPECT_EQ(checked, 8);
}

TEST_F(WeibullVectors, CholeskyExamplesBitForBit) {
    for (const json& example : Vectors()["cholesky"]) {
        SCOPED_TRACE(example["sigma"].dump());
        const auto n = static_cast<std::int32_t>(example["sigma"].size());
        NumMatrix sigma(n, n);
        NumMatrix factor(n, n);
        for (std::int32_t i = 0; i < n; ++i) {
            for (std::int32_t j = 0; j < n; ++j) {
                sigma.Rows()[i][j] = example["sigma"][i][j];
            }
        }
        CrossEntropyOptimizer::Cholesky(factor.Rows(), sigma.Rows(), n);
        for (std::int32_t i = 0; i < n; ++i) {
            for (std::int32_t j = 0; j < n; ++j) {
                EXPECT_EQ(BitsOf(factor.Rows()[i][j]),
                          BitsOf(DoubleFromBits(example["L_bits"][i][j])))
                    << "L[" << i << "][" << j << "] = " << factor.Rows()[i][j];
            }
        }
    }
}

TEST_F(WeibullVectors, InitialLawOfTheTenTimesSet) {
    // The third Cholesky example's matrix is the starting covariance of the set of ten times.
    const json& sigma = Vectors()["cholesky"][2]["sigma"];
    double lower[] = {0.0, 0.0};
    double upper[] = {43493.799999999996, 10.0};
    CrossEntropyOptimizer optimizer;
    optimizer.dimension = 2;
    optimizer.lowerBounds.Refer(lower, 2);
    optimizer.upperBounds.Refer(upper, 2);
    NumVector mean(2);
    NumMatrix covariance(2, 2);
    optimizer.InitialLaw(mean, covariance);
    for (std::int32_t i = 0; i < 2; ++i) {
        for (std::int32_t j = 0; j < 2; ++j) {
            EXPECT_EQ(BitsOf(covariance.Rows()[i][j]), BitsOf(sigma[i][j].get<double>()))
                << "[" << i << "][" << j << "]";
        }
    }
    EXPECT_EQ(mean[0], upper[0] * 0.5);
    EXPECT_EQ(mean[1], 5.0);
}

}  // namespace
}  // namespace tavrin21
