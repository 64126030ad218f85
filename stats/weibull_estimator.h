#pragma once

// Maximum-likelihood fit of a two-parameter Weibull model (scale eta, shape beta) to failure
// times and right-censored suspension times, by the cross-entropy optimiser over the box
// 0 <= eta <= 100 x mean time, 0 <= beta <= shapeUpperBound.
//
// Use: construct; failures.Assign(view) and suspensions.Assign(view) (the estimator keeps its
// own copies, which Estimate shifts in place); set failureCount, suspensionCount and location;
// Estimate(); read scale and shape. One estimation at a time per process: the optimiser's draws
// use module-wide state.

#include "stats/cross_entropy_optimizer.h"
#include "stats/num_vector.h"
#include "stats/objective.h"
#include "stats/point_evaluation.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tavrin21 {

// The small-sample factor r^0.5^3.5 with r = (4m - 5)/(4m - 3), m = max(failureCount, 2).
double SmallSampleFactor(std::int32_t failureCount);

class WeibullEstimator {
  public:
    // Indices into `messages`.
    enum StatusIndex : std::int32_t {
        kStatusNone = 0,
        kStatusOk = 1,
        kStatusException = 2,  // no estimation sets it; it keeps its place in the table of texts
        kStatusNotConverged = 3,
        kStatusNotInitialized = 4,
    };

    WeibullEstimator();
    WeibullEstimator(const WeibullEstimator&) = delete;
    WeibullEstimator& operator=(const WeibullEstimator&) = delete;
    virtual ~WeibullEstimator();

    // Counts 0, empty owning vectors, location 0, shape bound 10, results 0. Leaves status and
    // failed as they are.
    void Reset();
    // 0 when the fit succeeded (results in scale, shape, shapeCorrected), 1 otherwise.
    int Estimate();
    // The objective at (eta, beta) = (point[0], point[1]) on the times as they are now.
    double NegLogLikelihood(const double* point) const;
    // The same function for a whole run: the logarithms of the times are taken once. It looks
    // at this estimator's times, so it must not outlive them or their change.
    BatchObjective LikelihoodObjective() const;

    std::int32_t status = kStatusNone;
    std::int32_t failed = 0;
    std::int32_t failureCount = 0;     // at most failures.Size()
    std::int32_t suspensionCount = 0;  // at most suspensions.Size()
    NumVector failures;
    NumVector suspensions;
    double location = 0.0;  // time origin, subtracted from every time when not 0
    double shapeUpperBound = 10.0;
    double scale = 0.0;
    double shape = 0.0;
    double shapeCorrected = 0.0;
    const std::vector<std::string>* messages = nullptr;

    // Threads that evaluate the likelihood, the calling one included (1: no other thread). Any
    // number gives the same result bit for bit; by default as many as the machine offers.
    std::int32_t evaluationThreads = MachineEvaluationThreads();
    // How much work the optimiser did in the last Estimate (all zero when it did not run).
    SearchCounts search;

  private:
    bool CountsAreUsable() const;
    bool ShiftedTimesArePositive() const;
    void ShiftTimes();
    double MeanTime() const;
};

}  // namespace tavrin21
