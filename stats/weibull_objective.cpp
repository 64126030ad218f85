#include "stats/weibull_objective.h"

#include "stats/portable_math.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace tavrin21 {
namespace {

// The powers of the times are made a block at a time, apart from the sum, so that the
// independent powers overlap in the processor while the sum waits on its previous term.
constexpr std::size_t kBlock = 64;

std::vector<double> Concatenated(std::span<const double> first, std::span<const double> second) {
    std::vector<double> both(first.begin(), first.end());
    both.insert(both.end(), second.begin(), second.end());
    return both;
}

}  // namespace

WeibullObjective::WeibullObjective(std::span<const double> failures,
                                   std::span<const double> suspensions)
    : powers_(Concatenated(failures, suspensions)), logFailures_(failures.size()) {
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
    const std::size_t failureCount = logFailures_.size();
    double powers[kBlock];
    double sum = 0.0;
    for (std::size_t first = 0; first < powers_.Size(); first += kBlock) {
        const std::size_t count = std::min(kBlock, powers_.Size() - first);
        powers_.Compute(beta, first, count, powers);
        const std::size_t failuresHere =
            first < failureCount ? std::min(count, failureCount - first) : 0;
        for (std::size_t i = 0; i < failuresHere; ++i) {
            sum = sum - (((beta - 1) * logFailures_[first + i] + logBeta + logC) - powers[i] * c);
        }
        for (std::size_t i = failuresHere; i < count; ++i) {
            sum = sum + powers[i] * c;
        }
    }
    return sum;
}

}  // namespace tavrin21
