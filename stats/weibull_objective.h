#pragma once

#include <span>
#include <vector>

namespace tavrin21 {

// The negative log-likelihood of a right-censored two-parameter Weibull model at a point
// (scale eta, shape beta):
//   S = -sum over failures of ((beta - 1) ln t + ln beta + ln c - t^beta c)
//       + sum over suspensions of t^beta c,   with c = (1/eta)^beta,
// evaluated term by term in that order. The logarithms of the failure times do not depend on
// the point, so they are taken once when the objective is made; log is deterministic, so the
// values are the same bit for bit as taking them at every evaluation. The times are looked at,
// not copied: they must outlive the objective.
class WeibullObjective {
  public:
    WeibullObjective(std::span<const double> failures, std::span<const double> suspensions);
    WeibullObjective(const WeibullObjective&) = default;
    WeibullObjective(WeibullObjective&&) = default;
    WeibullObjective& operator=(const WeibullObjective&) = default;
    WeibullObjective& operator=(WeibullObjective&&) = default;
    virtual ~WeibullObjective() = default;

    double operator()(const double* point) const;

  private:
    std::span<const double> failures_;
    std::span<const double> suspensions_;
    std::vector<double> logFailures_;
};

}  // namespace tavrin21
