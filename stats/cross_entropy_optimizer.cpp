#include "stats/cross_entropy_optimizer.h"

#include "stats/box_draws.h"
#include "stats/point_evaluation.h"
#include "stats/portable_math.h"
#include "stats/weibull_estimator.h"
#include "stats/weibull_objective.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <limits>
#include <numeric>

namespace tavrin21 {
namespace {

constexpr double kLargestDouble = std::numeric_limits<double>::max();
constexpr std::int32_t kMaxSampleSize = 65535;

const std::vector<std::string>& StatusTexts() {
    static const std::vector<std::string> texts = {
        "",
        "Ok",
        "Exception",
        "Non Successful search due to boundaries violation",
        "Non Successful search due to required accuracy violation",
        "Some of parameters not initialized",
    };
    return texts;
}

void CopyMatrix(const NumMatrix& from, NumMatrix& to, std::int32_t n) {
    for (std::int32_t i = 0; i < n; ++i) {
        for (std::int32_t j = 0; j < n; ++j) {
            to.Rows()[i][j] = from.Rows()[i][j];
        }
    }
}

}  // namespace

CrossEntropyOptimizer::CrossEntropyOptimizer() {
    SetDefaults();
}

CrossEntropyOptimizer::~CrossEntropyOptimizer() = default;

void CrossEntropyOptimizer::SetDefaults() {
    status = kStatusNone;
    failed = 0;
    seed = 1234567891;
    dimension = 5;
    sampleSize = 500;
    warmupIterations = 20;
    maxIterations = 1000;
    eliteCount = 20;
    historyLength = 6;
    maxDrawAttempts = 3000;
    lowerBounds.Clear();
    upperBounds.Clear();
    meanSmoothing = 0.8;
    covSmoothingMax = 0.8;
    covSmoothingPower = 5.0;
    relativeTolerance = 0.001;
    absoluteTolerance = 1e-10;
    initialSpreadFactor = 10.0;
    bestValue = kLargestDouble;
    bestPoint.Clear();
    drawRejected = false;
    converged = false;
    messages = &StatusTexts();
}

void CrossEntropyOptimizer::ResetResult() {
    bestPoint.Resize(dimension);
    bestValue = kLargestDouble;
    converged = false;
    drawRejected = false;
}

int CrossEntropyOptimizer::Run(const WeibullEstimator& estimator) {
    const ObjectiveTraits likelihood{
        .costInPowers = static_cast<std::int64_t>(estimator.failureCount) +
                        estimator.suspensionCount + WeibullObjective::kPointCostInPowers,
        .leavesGeneratorAlone = true};
    return RunSearch(estimator.LikelihoodObjective(), likelihood);
}

int CrossEntropyOptimizer::Run(const Objective& objective) {
    return RunSearch(PointByPoint(objective), {});
}

int CrossEntropyOptimizer::Run(const BatchObjective& objective, ObjectiveTraits traits) {
    return RunSearch(objective, traits);
}

// Objective values that are not numbers: such a point never enters the elite (SelectElite skips
// NaN), so it can become neither the best value nor part of a stopping test, and the law is never
// refitted from it. An iteration with fewer NaN-free values than elite slots cannot be ranked and
// ends the run as not converged (status 4).
int CrossEntropyOptimizer::RunSearch(const BatchObjective& objective, ObjectiveTraits traits) {
    SeedRandom(seed);
    ResetResult();
    counts = SearchCounts{};
    if (!SettingsAreUsable()) {
        return Finish(kStatusNotInitialized);
    }

    const std::int32_t n = dimension;
    NumVector mean(n);
    NumVector previousMean;
    NumMatrix covariance(n, n);
    NumMatrix previousCovariance(n, n);
    InitialLaw(mean, covariance);
    previousMean.Assign(mean);
    CopyMatrix(covariance, previousCovariance, n);
    if (maxIterations < 1) {
        return Finish(kStatusAccuracyViolation);
    }

    NumVector windowA(historyLength);
    NumVector windowB(historyLength);
    double previousIterationBest = 0.0;
    double iterationBest = 0.0;
    NumMatrix factor(n, n);
    NumMatrix sample(sampleSize, n);
    NumVector values(sampleSize);
    DeviateStream deviates;
    std::int32_t threadsAllowed = evaluationThreads;
    std::vector<std::uint16_t> elite(static_cast<std::size_t>(eliteCount));

    for (std::int32_t t = 1; t <= maxIterations; ++t) {
        counts.iterations = t;
        Smooth(mean, previousMean, covariance, previousCovariance, t);
        factor.Fill(0.0);
        Cholesky(factor.Rows(), covariance.Rows(), n);

        const std::int32_t threads =
            traits.costInPowers > 0
                ? ThreadsForWork(sampleSize * traits.costInPowers, threadsAllowed)
                : threadsAllowed;
        counts.evaluationThreads = std::max(counts.evaluationThreads, threads);
        const auto start = std::chrono::steady_clock::now();
        const auto [drawn, waited] =
            DrawAndEvaluate(objective, traits, mean, factor, sample, values, deviates, threads);
        // A caller that waited for the other threads longer than it drew and evaluated had a
        // helper that was not running: the machine has no core to spare, and every later
        // iteration would wait for one again.
        if (2 * waited > std::chrono::steady_clock::now() - start) {
            threadsAllowed = 1;
        }
        counts.evaluations += drawn;
        if (drawn < sampleSize) {
            return Finish(kStatusBoundariesViolation);
        }
        if (SelectElite(values, elite) < eliteCount) {
            return Finish(kStatusAccuracyViolation);
        }

        const double best = values[elite.front()];
        const double threshold = values[elite.back()];
        previousIterationBest = iterationBest;
        iterationBest = best;
        if (best < bestValue) {
            bestValue = best;
            for (std::int32_t i = 0; i < n; ++i) {
                bestPoint[i] = sample.Rows()[elite.front()][i];
            }
        }

        if (t > warmupIterations) {
            PushHistory(windowA, windowB, std::fabs(best - previousIterationBest),
                        std::fabs(best - threshold));
            double sum = 0.0;
            for (std::int32_t h = 0; h < historyLength; ++h) {
                sum += windowA[h] + windowB[h];
            }
            const double meanChange = sum / (2 * historyLength);
            // A NaN change (from infinite values) fails both comparisons and never stops a run.
            if (meanChange / std::fabs(bestValue) < relativeTolerance ||
                meanChange < absoluteTolerance) {
                converged = true;
                return Finish(kStatusOk);
            }
        }

        previousMean.Assign(mean);
        CopyMatrix(covariance, previousCovariance, n);
        FitElite(sample, elite, mean, covariance);
    }
    return Finish(kStatusAccuracyViolation);
}

std::pair<std::int32_t, std::chrono::nanoseconds> CrossEntropyOptimizer::DrawAndEvaluate(
    const BatchObjective& objective,
    ObjectiveTraits traits,
    const NumVector& mean,
    const NumMatrix& factor,
    NumMatrix& sample,
    NumVector& values,
    DeviateStream& deviates,
    std::int32_t threads) {
    if (traits.leavesGeneratorAlone) {
        EvaluationWhileDrawing evaluation(objective, sample.Rows(), sampleSize, values.Data(),
                                          threads);
        const std::int32_t drawn = DrawSample(mean, factor, sample, deviates, &evaluation);
        return {drawn, evaluation.Finish(drawn)};
    }
    const std::int32_t drawn = DrawSample(mean, factor, sample, deviates);
    deviates.Publish();  // the objective may look at the generator, or draw itself
    const auto waited = EvaluatePoints(objective, sample.Rows(), drawn, values.Data(), threads);
    deviates.Resume();
    return {drawn, waited};
}

bool CrossEntropyOptimizer::SettingsAreUsable() const {
    return dimension >= 1 && sampleSize >= 1 && sampleSize <= kMaxSampleSize && eliteCount >= 1 &&
           eliteCount <= sampleSize && historyLength >= 1 && lowerBounds.Size() >= dimension &&
           upperBounds.Size() >= dimension;
}

int CrossEntropyOptimizer::Finish(StatusIndex finalStatus) {
    status = finalStatus;
    failed = finalStatus == kStatusOk ? 0 : 1;
    return failed;
}

void CrossEntropyOptimizer::InitialLaw(NumVector& mean, NumMatrix& covariance) const {
    const std::int32_t n = dimension;
    NumVector spread(n);
    for (std::int32_t i = 0; i < n; ++i) {
        mean[i] = (upperBounds[i] + lowerBounds[i]) * 0.5;
        const double width = upperBounds[i] - lowerBounds[i];
        spread[i] = width * width * initialSpreadFactor;
    }
    double** rows = covariance.Rows();
    for (std::int32_t i = 0; i < n; ++i) {
        for (std::int32_t j = 0; j < n; ++j) {
            rows[i][j] = std::sqrt(spread[i] * spread[j]) * 0.5;
        }
        rows[i][i] = spread[i];
    }
}

void CrossEntropyOptimizer::Smooth(NumVector& mean,
                                   const NumVector& previousMean,
                                   NumMatrix& covariance,
                                   const NumMatrix& previousCovariance,
                                   std::int32_t t) const {
    double** rows = covariance.Rows();
    const double* const* previousRows = previousCovariance.Rows();
    for (std::int32_t i = 0; i < dimension; ++i) {
        mean[i] = meanSmoothing * mean[i] + (1 - meanSmoothing) * previousMean[i];
        const double weight =
            covSmoothingMax - covSmoothingMax * portable::Pow(1 - 1.0 / t, covSmoothingPower);
        for (std::int32_t j = 0; j < dimension; ++j) {
            rows[i][j] = weight * rows[i][j] + (1 - weight) * previousRows[i][j];
        }
    }
}

void CrossEntropyOptimizer::Cholesky(double* const* factor,
                                     const double* const* covariance,
                                     int n) {
    if (n < 1) {
        return;
    }
    factor[0][0] = std::sqrt(covariance[0][0]);
    for (int i = 1; i < n; ++i) {
        for (int j = 0; j <= i; ++j) {
            double cross = 0.0;
            double squares = 0.0;
            for (int k = 0; k < j; ++k) {
                cross += factor[i][k] * factor[j][k];
                squares += factor[j][k] * factor[j][k];
            }
            // The diagonal too is x / sqrt(x), which can differ from sqrt(x) in the last bit.
            factor[i][j] = (covariance[i][j] - cross) / std::sqrt(covariance[j][j] - squares);
        }
    }
}

double CrossEntropyOptimizer::GaussianDeviate(bool& makeFreshPair) const {
    return tavrin21::GaussianDeviate(generator, makeFreshPair);
}

std::int32_t CrossEntropyOptimizer::DrawSample(const NumVector& mean,
                                               const NumMatrix& factor,
                                               NumMatrix& sample,
                                               DeviateStream& deviates,
                                               DrawnPointsSink* drawn) {
    if (maxDrawAttempts < 1) {
        return 0;
    }
    const BoxedLaw law{dimension, mean.Data(), factor.Rows(), lowerBounds.Data(),
                       upperBounds.Data()};
    const SampleLimits limits{sampleSize, maxDrawAttempts};
    const SampleProgress progress = DrawPointsInBox(law, limits, deviates, sample.Rows(), drawn);
    counts.rejectedDrawAttempts += progress.rejected;
    drawRejected = progress.lastRejected;
    return progress.drawn;
}

std::int32_t CrossEntropyOptimizer::IndexOfMin(const NumVector& values) {
    std::int32_t best = 0;
    for (std::int32_t i = 1; i < values.Size(); ++i) {
        if (values[i] < values[best] || (std::isnan(values[best]) && !std::isnan(values[i]))) {
            best = i;
        }
    }
    return best;
}

std::int32_t CrossEntropyOptimizer::SelectElite(const NumVector& values,
                                                std::span<std::uint16_t> elite) {
    // The order that taking IndexOfMin over and over gives (ascending, equal values by index,
    // NaN never), in one pass over the values in index order: once the slots are full, a value
    // enters only when below the last slot's, which after the first few values is rare.
    const double* v = values.Data();
    const std::size_t slots = elite.size();
    std::size_t filled = 0;
    double lastValue = 0.0;  // in the last slot, once all are filled
    for (std::int32_t k = 0; k < values.Size() && slots > 0; ++k) {
        const double value = v[k];
        if (filled == slots ? !(value < lastValue) : std::isnan(value)) {
            continue;
        }
        // A full set of slots drops its last; equal values stay ahead of the newcomer.
        std::size_t slot = std::min(filled, slots - 1);
        for (; slot > 0 && v[elite[slot - 1]] > value; --slot) {
            elite[slot] = elite[slot - 1];
        }
        elite[slot] = static_cast<std::uint16_t>(k);
        filled = std::min(filled + 1, slots);
        lastValue = v[elite[filled - 1]];
    }
    return static_cast<std::int32_t>(filled);
}

void CrossEntropyOptimizer::PushHistory(NumVector& windowA,
                                        NumVector& windowB,
                                        double a,
                                        double b) const {
    for (std::int32_t h = 1; h < historyLength; ++h) {
        windowA[h - 1] = windowA[h];
        windowB[h - 1] = windowB[h];
    }
    windowA[historyLength - 1] = a;
    windowB[historyLength - 1] = b;
}

void CrossEntropyOptimizer::FitElite(const NumMatrix& sample,
                                     std::span<const std::uint16_t> elite,
                                     NumVector& mean,
                                     NumMatrix& covariance) const {
    const double* const* points = sample.Rows();
    for (std::int32_t i = 0; i < dimension; ++i) {
        double sum = 0.0;
        for (const std::uint16_t e : elite) {
            sum += points[e][i];
        }
        mean[i] = sum / eliteCount;
    }
    double** rows = covariance.Rows();
    for (std::int32_t i = 0; i < dimension; ++i) {
        for (std::int32_t j = 0; j < dimension; ++j) {
            double sum = 0.0;
            for (const std::uint16_t e : elite) {
                sum += (points[e][i] - mean[i]) * (points[e][j] - mean[j]);
            }
            rows[i][j] = sum / eliteCount;
        }
    }
}

}  // namespace tavrin21
