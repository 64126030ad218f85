#include "stats/weibull_estimator.h"

#include "stats/portable_math.h"
#include "stats/weibull_objective.h"

#include <cmath>
#include <span>

namespace tavrin21 {
namespace {

const std::vector<std::string>& StatusTexts() {
    static const std::vector<std::string> texts = {
        "",
        "Ok",
        "Exception",
        "Not succesful runing of Cross Entropy algorithm",
        "Some of parameters not initialized",
    };
    return texts;
}

std::span<const double> FirstTimes(const NumVector& times, std::int32_t count) {
    return {times.Data(), static_cast<std::size_t>(count)};
}

}  // namespace

double SmallSampleFactor(std::int32_t failureCount) {
    const std::int32_t m = failureCount > 2 ? failureCount : 2;
    const double r = (4.0 * m - 5) / (4.0 * m - 3);
    return portable::Pow(portable::Pow(r, 0.5), 3.5);
}

WeibullEstimator::WeibullEstimator() {
    Reset();
}

WeibullEstimator::~WeibullEstimator() = default;

void WeibullEstimator::Reset() {
    failureCount = 0;
    suspensionCount = 0;
    failures.Resize(failureCount);
    suspensions.Resize(suspensionCount);
    location = 0.0;
    shapeUpperBound = 10.0;
    scale = 0.0;
    shape = 0.0;
    shapeCorrected = 0.0;
    messages = &StatusTexts();
}

int WeibullEstimator::Estimate() {
    search = SearchCounts{};
    if ((failureCount == 0 && suspensionCount == 0) || !CountsAreUsable()) {
        status = kStatusNotInitialized;
        failed = 1;
        return 1;
    }
    if (location != 0.0) {
        ShiftTimes();
    }
    // A time at or below zero makes the logarithm or the power undefined, so every value of the
    // objective would be NaN; the search could never converge and would spend up to 500,000
    // evaluations finding that out. It is reported as not converged straight away.
    if (!ShiftedTimesArePositive()) {
        status = kStatusNotConverged;
        failed = 1;
        return 1;
    }
    const double mean = MeanTime();

    double lower[2] = {0.0, 0.0};
    double upper[2] = {mean * 100, shapeUpperBound};
    CrossEntropyOptimizer optimizer;
    optimizer.lowerBounds.Refer(lower, 2);
    optimizer.upperBounds.Refer(upper, 2);
    optimizer.dimension = 2;
    optimizer.relativeTolerance = 0.001;
    optimizer.evaluationThreads = evaluationThreads;
    optimizer.Run(*this);  // the outcome is read from its members, as for every run
    search = optimizer.counts;
    if (!optimizer.converged) {
        status = kStatusNotConverged;
        failed = 1;
        return 1;
    }

    scale = optimizer.bestPoint[0];
    shape = optimizer.bestPoint[1];
    shapeCorrected = SmallSampleFactor(failureCount) * shape;
    status = kStatusOk;
    failed = 0;
    return 0;
}

double WeibullEstimator::NegLogLikelihood(const double* point) const {
    return WeibullObjective(FirstTimes(failures, failureCount),
                            FirstTimes(suspensions, suspensionCount))(point);
}

BatchObjective WeibullEstimator::LikelihoodObjective() const {
    return [likelihood = WeibullObjective(FirstTimes(failures, failureCount),
                                          FirstTimes(suspensions, suspensionCount))](
               const double* const* points, std::int32_t count, double* values) {
        likelihood.Evaluate(points, count, values);
    };
}

bool WeibullEstimator::CountsAreUsable() const {
    return failureCount >= 0 && suspensionCount >= 0 && failureCount <= failures.Size() &&
           suspensionCount <= suspensions.Size();
}

void WeibullEstimator::ShiftTimes() {
    for (std::int32_t i = 0; i < failureCount; ++i) {
        failures[i] = failures[i] - location;
    }
    for (std::int32_t i = 0; i < suspensionCount; ++i) {
        suspensions[i] = suspensions[i] - location;
    }
}

bool WeibullEstimator::ShiftedTimesArePositive() const {
    for (std::int32_t i = 0; i < failureCount; ++i) {
        if (!(failures[i] > 0.0)) {  // NaN too
            return false;
        }
    }
    for (std::int32_t i = 0; i < suspensionCount; ++i) {
        if (!(suspensions[i] > 0.0)) {
            return false;
        }
    }
    return true;
}

double WeibullEstimator::MeanTime() const {
    double failureSum = 0.0;
    for (std::int32_t i = 0; i < failureCount; ++i) {
        failureSum += failures[i];
    }
    double suspensionSum = 0.0;
    for (std::int32_t i = 0; i < suspensionCount; ++i) {
        suspensionSum += suspensions[i];
    }
    return (failureSum + suspensionSum) / (failureCount + suspensionCount);
}

}  // namespace tavrin21
