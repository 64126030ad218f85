#include "stats/weibull_objective.h"

#include "stats/portable_math.h"

#include <algorithm>
#include <cstddef>

namespace tavrin21 {
namespace {

// The powers of the times are made a block at a time, apart from the sum, so that the
// independent powers overlap in the processor while the sum waits on its previous term.
constexpr std::size_t kBlock = 64;

}  // namespace

WeibullObjective::WeibullObjective(std::span<const double> failures,
                                   std::span<const double> suspensions)
    : failurePowers_(failures), suspensionPowers_(suspensions), logFailures_(failures.size()) {
    for (std::size_t i = 0; i < failures.size(); ++i) {
        logFailures_[i] = portable::Log(failures[i]);
    }
}

double WeibullObjective::operator()(const double* point) const {
    const double eta = point[0];
    const double beta = point[1];
    const double c = portable::Pow(1.0 / eta, beta);
    const double logBeta = portable::Log(beta);
    const double logC = portable::Log(c);
    double powers[kBlock];
    double sum = 0.0;
    for (std::size_t first = 0; first < failurePowers_.Size(); first += kBlock) {
        const std::size_t count = std::min(kBlock, failurePowers_.Size() - first);
        failurePowers_.Compute(beta, first, count, powers);
        const double* logTimes = logFailures_.data() + first;
        for (std::size_t i = 0; i < count; ++i) {
            sum = sum - (((beta - 1) * logTimes[i] + logBeta + logC) - powers[i] * c);
        }
    }
    for (std::size_t first = 0; first < suspensionPowers_.Size(); first += kBlock) {
        const std::size_t count = std::min(kBlock, suspensionPowers_.Size() - first);
        suspensionPowers_.Compute(beta, first, count, powers);
        for (std::size_t i = 0; i < count; ++i) {
            sum = sum + powers[i] * c;
        }
    }
    return sum;
}

}  // namespace tavrin21
