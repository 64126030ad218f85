#pragma once

// Minimisation of a function of `dimension` parameters inside a box by the cross-entropy
// method with a full-covariance Gaussian sampling law.

#include "stats/box_draws.h"
#include "stats/num_matrix.h"
#include "stats/num_vector.h"
#include "stats/objective.h"
#include "stats/random_sampling.h"

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace tavrin21 {

class WeibullEstimator;

// How much work a run did: the iteration it returned in (0 when maxIterations < 1), objective
// calls, and draw attempts that failed the box test.
struct SearchCounts {
    std::int32_t iterations = 0;
    std::int64_t evaluations = 0;
    std::int64_t rejectedDrawAttempts = 0;
    // The most threads an iteration's evaluation used (see evaluationThreads).
    std::int32_t evaluationThreads = 0;
};

// What a run may know of its objective, to spread the evaluations over threads well.
struct ObjectiveTraits {
    // What one evaluation costs, in powers; 0 when not known. Where it is known, a run uses no
    // more threads than the work of an iteration pays for.
    std::int64_t costInPowers = 0;
    // An objective that never touches the random generator has its points evaluated while the
    // rest of the sample is still being drawn; one that may is evaluated after the draws, with
    // the generator where they left it.
    bool leavesGeneratorAlone = false;
};

class CrossEntropyOptimizer {
  public:
    // Indices into `messages`.
    enum StatusIndex : std::int32_t {
        kStatusNone = 0,
        kStatusOk = 1,
        kStatusException = 2,  // no run sets it; it keeps its place in the table of texts
        kStatusBoundariesViolation = 3,
        kStatusAccuracyViolation = 4,
        kStatusNotInitialized = 5,
    };

    CrossEntropyOptimizer();
    virtual ~CrossEntropyOptimizer();

    void SetDefaults();
    // bestPoint becomes `dimension` zeros, bestValue the largest double, the flags false.
    void ResetResult();

    // Minimises the estimator's negative log-likelihood. The outcome is in the members: converged
    // with the result in bestPoint, or not, with `status` saying why; `failed` and the value
    // returned are 0 when converged, 1 otherwise; `counts` says how much work it took.
    int Run(const WeibullEstimator& estimator);
    int Run(const Objective& objective);
    int Run(const BatchObjective& objective, ObjectiveTraits traits = {});

    double GaussianDeviate(bool& makeFreshPair) const;

    // Steps of a run, public so that they can be checked and timed on their own.

    // The law a run starts from: the box's centre, variances initialSpreadFactor x width^2
    // and correlation 0.5 between all coordinates.
    void InitialLaw(NumVector& mean, NumMatrix& covariance) const;
    // The lower Cholesky factor of `covariance` (n x n) into `factor`, whose upper triangle is
    // left as it is. Not positive definite gives non-finite entries and no error.
    static void Cholesky(double* const* factor, const double* const* covariance, int n);
    // Draws every point of an iteration from the law (mean, factor) into the rows of `sample`:
    // each point takes attempts, one per `dimension` deviates of the stream, until one falls
    // inside the box (a bound itself is inside, a coordinate that is not a number never), or
    // until it has used up maxDrawAttempts. Returns how many points were drawn (fewer than
    // sampleSize when a point used up its attempts); counts the rejected attempts and sets
    // drawRejected from the last attempt. `drawn`, if any, is told of the points drawn while the
    // drawing goes on; its threads may make attempts ahead.
    std::int32_t DrawSample(const NumVector& mean,
                            const NumMatrix& factor,
                            NumMatrix& sample,
                            DeviateStream& deviates,
                            DrawnPointsSink* drawn = nullptr);
    // Index of the first smallest value, 0 when there are fewer than two. A NaN is never taken
    // while a number is left. SelectElite ranks in the order that taking it over and over gives.
    static std::int32_t IndexOfMin(const NumVector& values);
    // Fills the slots with the indices of the lowest values, ascending, equal values in index
    // order. Returns how many slots could be filled with numbers: NaN values are never chosen,
    // so fewer NaN-free values than slots leave the rest of the slots unset.
    static std::int32_t SelectElite(const NumVector& values, std::span<std::uint16_t> elite);
    // Moves both windows one slot towards the front and puts a and b into their last slots.
    void PushHistory(NumVector& windowA, NumVector& windowB, double a, double b) const;

    // Settings and results, in the order the owner sees them.
    std::int32_t status = kStatusNone;
    std::int32_t failed = 0;
    RandomGenerator generator;
    std::uint32_t seed = 0;
    std::int32_t dimension = 0;
    std::int32_t sampleSize = 0;  // at most 65535: elite indices are 16-bit
    std::int32_t warmupIterations = 0;
    std::int32_t maxIterations = 0;
    std::int32_t eliteCount = 0;
    std::int32_t historyLength = 0;
    std::int32_t maxDrawAttempts = 0;
    NumVector lowerBounds;  // views of the owner's arrays, which must outlive the run
    NumVector upperBounds;
    double meanSmoothing = 0.0;
    double covSmoothingMax = 0.0;
    double covSmoothingPower = 0.0;
    double relativeTolerance = 0.0;
    double absoluteTolerance = 0.0;
    double initialSpreadFactor = 0.0;
    double bestValue = 0.0;
    NumVector bestPoint;
    bool drawRejected = false;
    bool converged = false;
    const std::vector<std::string>* messages = nullptr;

    // Threads that may evaluate the points of one iteration (draws stay on the calling thread,
    // and results are the same bit for bit with any number). 1 creates no thread. A run on a
    // Weibull estimator uses fewer where its times are too few to pay for handing work over, and
    // any run goes on with one once the other threads kept the caller waiting longer than it
    // drew and evaluated (a machine with no core to spare).
    std::int32_t evaluationThreads = 1;
    SearchCounts counts;  // of the last run

  private:
    int RunSearch(const BatchObjective& objective, ObjectiveTraits traits);
    // Draws an iteration's sample and evaluates it on `threads` threads; returns how many points
    // were drawn and how long the calling thread waited for the others.
    std::pair<std::int32_t, std::chrono::nanoseconds> DrawAndEvaluate(
        const BatchObjective& objective,
        ObjectiveTraits traits,
        const NumVector& mean,
        const NumMatrix& factor,
        NumMatrix& sample,
        NumVector& values,
        DeviateStream& deviates,
        std::int32_t threads);
    bool SettingsAreUsable() const;
    void Smooth(NumVector& mean,
                const NumVector& previousMean,
                NumMatrix& covariance,
                const NumMatrix& previousCovariance,
                std::int32_t t) const;
    // The law of the elite: mean, and covariance about that new mean, both divided by eliteCount.
    void FitElite(const NumMatrix& sample,
                  std::span<const std::uint16_t> elite,
                  NumVector& mean,
                  NumMatrix& covariance) const;
    int Finish(StatusIndex finalStatus);
};

}  // namespace tavrin21
