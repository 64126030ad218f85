#include "stats/weibull_objective.h"

#include <cmath>
#include <cstddef>

namespace tavrin21 {

WeibullObjective::WeibullObjective(std::span<const double> failures,
                                   std::span<const double> suspensions)
    : failures_(failures), suspensions_(suspensions), logFailures_(failures.size()) {
    for (std::size_t i = 0; i < failures.size(); ++i) {
        logFailures_[i] = std::log(failures[i]);
    }
}

double WeibullObjective::operator()(const double* point) const {
    const double eta = point[0];
    const double beta = point[1];
    const double c = std::pow(1.0 / eta, beta);
    const double logBeta = std::log(beta);
    const double logC = std::log(c);
    double sum = 0.0;
    for (std::size_t i = 0; i < failures_.size(); ++i) {
        sum = sum -
              (((beta - 1) * logFailures_[i] + logBeta + logC) - std::pow(failures_[i], beta) * c);
    }
    for (const double t : suspensions_) {
        sum = sum + std::pow(t, beta) * c;
    }
    return sum;
}

}  // namespace tavrin21
