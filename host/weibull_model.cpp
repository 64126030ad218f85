#include "host/weibull_model.h"

#include <cmath>

namespace tavrin21::host {

WeibullSample AfterOrigin(const WeibullSample& recorded, double origin) {
    WeibullSample shifted = recorded;
    for (double& time : shifted.failures) {
        time -= origin;
    }
    for (double& time : shifted.suspensions) {
        time -= origin;
    }
    return shifted;
}

double WeibullNegLogLikelihood(const WeibullSample& sample, double scale, double shape) {
    const double logScale = std::log(scale);
    double sum = 0.0;
    for (const double time : sample.failures) {
        const double x = std::log(time) - logScale;
        sum -= std::log(shape) - logScale + (shape - 1.0) * x - std::exp(shape * x);
    }
    for (const double time : sample.suspensions) {
        sum += std::exp(shape * (std::log(time) - logScale));
    }
    return sum;
}

// With u = ln scale, v = ln shape, x = ln t - u and z = exp(shape x), over r failures:
//   -ln L = -sum_F (v + shape x - ln t) + sum_all z
// whose derivatives are sums of z, z x and z x^2.
LogLikelihoodDerivatives NegLogLikelihoodDerivatives(const WeibullSample& sample,
                                                     double logScale,
                                                     double logShape) {
    const double shape = std::exp(logShape);
    const auto failureCount = static_cast<double>(sample.failures.size());
    double sumLogTimeF = 0.0, sumXF = 0.0, sumZ = 0.0, sumZX = 0.0, sumZXX = 0.0;
    auto addSurvivalTerm = [&](double x) {
        const double z = std::exp(shape * x);
        sumZ += z;
        sumZX += z * x;
        sumZXX += z * x * x;
    };
    for (const double time : sample.failures) {
        const double logTime = std::log(time);
        sumLogTimeF += logTime;
        sumXF += logTime - logScale;
        addSurvivalTerm(logTime - logScale);
    }
    for (const double time : sample.suspensions) {
        addSurvivalTerm(std::log(time) - logScale);
    }

    LogLikelihoodDerivatives d;
    d.negLogLikelihood = -(failureCount * logShape + shape * sumXF - sumLogTimeF) + sumZ;
    d.gradient = {shape * (failureCount - sumZ), -failureCount - shape * sumXF + shape * sumZX};
    const double cross = shape * (failureCount - sumZ) - shape * shape * sumZX;
    d.hessian = {{{shape * shape * sumZ, cross},
                  {cross, -shape * sumXF + shape * sumZX + shape * shape * sumZXX}}};
    return d;
}

double WeibullLife(double scale, double shape, double fraction) {
    return scale * std::pow(-std::log1p(-fraction), 1.0 / shape);
}

}  // namespace tavrin21::host
