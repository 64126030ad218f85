#include "host/weibull_mle.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>

namespace tavrin21::host {

namespace {

constexpr double kStepTolerance = 1e-10;
constexpr int kMaxIterations = 200;
constexpr int kMaxHalvings = 60;
constexpr double kTrustNewtonBelow = 1e-6;
constexpr double kNormalQuantile975 = 1.959963984540054;
constexpr double kB10Fraction = 0.10;

void CheckSample(const WeibullSample& sample) {
    if (sample.failures.empty()) {
        throw std::runtime_error("no failure time: the likelihood has no maximum");
    }
    auto positive = [](double time) { return time > 0.0; };
    if (!std::all_of(sample.failures.begin(), sample.failures.end(), positive) ||
        !std::all_of(sample.suspensions.begin(), sample.suspensions.end(), positive)) {
        throw std::runtime_error("a time is not positive after the time origin");
    }
}

struct NewtonStep {
    std::array<double, 2> delta{};
    bool newton = false;  // false: a gradient step, taken while H is not positive definite
};

// The Newton step -H^-1 g when H is positive definite; otherwise a gradient step scaled by
// the diagonal, which still goes downhill far from the maximum.
NewtonStep DescentStep(const LogLikelihoodDerivatives& d) {
    const auto& h = d.hessian;
    const auto& g = d.gradient;
    const double det = h[0][0] * h[1][1] - h[0][1] * h[1][0];
    if (h[0][0] > 0.0 && det > 0.0) {
        return {
            {-(h[1][1] * g[0] - h[0][1] * g[1]) / det, -(h[0][0] * g[1] - h[1][0] * g[0]) / det},
            true};
    }
    auto scaled = [](double gradient, double curvature) {
        return -gradient / std::max(std::abs(curvature), 1.0);
    };
    return {{scaled(g[0], h[0][0]), scaled(g[1], h[1][1])}, false};
}

}  // namespace

WeibullMle FitWeibullMle(const WeibullSample& sample) {
    CheckSample(sample);
    // Start at shape 1, where the scale's maximum is the mean time on test per failure.
    const double totalTime =
        std::accumulate(sample.failures.begin(), sample.failures.end(), 0.0) +
        std::accumulate(sample.suspensions.begin(), sample.suspensions.end(), 0.0);
    double logScale = std::log(totalTime / static_cast<double>(sample.failures.size()));
    double logShape = 0.0;

    for (int iteration = 1; iteration <= kMaxIterations; ++iteration) {
        const LogLikelihoodDerivatives d = NegLogLikelihoodDerivatives(sample, logScale, logShape);
        const NewtonStep step = DescentStep(d);
        const double stepSize = std::max(std::abs(step.delta[0]), std::abs(step.delta[1]));
        // Close to the maximum -ln L is flat to within rounding, so a comparison can no longer
        // judge the step; Newton's step is then the better guide.
        double factor = 1.0;
        if (!(step.newton && stepSize < kTrustNewtonBelow)) {
            int halvings = 0;
            while (NegLogLikelihoodDerivatives(sample, logScale + factor * step.delta[0],
                                               logShape + factor * step.delta[1])
                       .negLogLikelihood > d.negLogLikelihood) {
                if (++halvings > kMaxHalvings) {
                    throw std::runtime_error(
                        "the maximum-likelihood iteration found no better point");
                }
                factor *= 0.5;
            }
        }
        logScale += factor * step.delta[0];
        logShape += factor * step.delta[1];
        if (!std::isfinite(logScale) || !std::isfinite(logShape)) {
            break;
        }
        if (step.newton && factor == 1.0 && stepSize < kStepTolerance) {
            WeibullMle fit;
            fit.scale = std::exp(logScale);
            fit.shape = std::exp(logShape);
            fit.negLogLikelihood = WeibullNegLogLikelihood(sample, fit.scale, fit.shape);
            fit.iterations = iteration;
            return fit;
        }
    }
    throw std::runtime_error("the maximum-likelihood iteration did not converge");
}

WeibullBounds FisherBounds95(const WeibullSample& sample, const WeibullMle& fit) {
    const auto h =
        NegLogLikelihoodDerivatives(sample, std::log(fit.scale), std::log(fit.shape)).hessian;
    const double det = h[0][0] * h[1][1] - h[0][1] * h[1][0];
    if (!(h[0][0] > 0.0 && det > 0.0)) {
        throw std::runtime_error("the information matrix is not positive definite");
    }
    // The covariance of (ln scale, ln shape) is the inverse of the observed information.
    const double varLogScale = h[1][1] / det;
    const double varLogShape = h[0][0] / det;
    const double covariance = -h[0][1] / det;
    // ln B10 = ln scale + k / shape, k = ln(-ln 0.9): gradient (1, -k / shape).
    const double k = std::log(-std::log1p(-kB10Fraction));
    const double dLogShape = -k / fit.shape;
    const double varLogB10 =
        varLogScale + 2.0 * dLogShape * covariance + dLogShape * dLogShape * varLogShape;

    auto interval = [](double value, double varianceOfLog) {
        const double spread = std::exp(kNormalQuantile975 * std::sqrt(varianceOfLog));
        return Interval{value / spread, value * spread};
    };
    return {interval(fit.scale, varLogScale), interval(fit.shape, varLogShape),
            interval(WeibullLife(fit.scale, fit.shape, kB10Fraction), varLogB10)};
}

}  // namespace tavrin21::host
