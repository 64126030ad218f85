#pragma once

// The two-parameter Weibull model of a part's field history: its likelihood with
// right-censored times, the likelihood's derivatives, and the life by which a fraction fails.

#include <array>
#include <vector>

namespace tavrin21::host {

// Failure and suspension (still running) times, in the unit of the recorded times.
struct WeibullSample {
    std::vector<double> failures;
    std::vector<double> suspensions;
};

// The sample with `origin` taken from every time, as the field-data method fits it.
WeibullSample AfterOrigin(const WeibullSample& recorded, double origin);

// -ln L: the density term for each failure, the survival term for every time.
double WeibullNegLogLikelihood(const WeibullSample& sample, double scale, double shape);

// -ln L with its gradient and Hessian in (ln scale, ln shape).
struct LogLikelihoodDerivatives {
    double negLogLikelihood = 0.0;
    std::array<double, 2> gradient{};
    std::array<std::array<double, 2>, 2> hessian{};
};
LogLikelihoodDerivatives NegLogLikelihoodDerivatives(const WeibullSample& sample,
                                                     double logScale,
                                                     double logShape);

// The time by which `fraction` of the population has failed: B10 life for 0.10.
double WeibullLife(double scale, double shape, double fraction);

}  // namespace tavrin21::host
