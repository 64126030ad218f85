#pragma once

// The exact maximum-likelihood fit of the Weibull model, and Fisher-matrix confidence bounds.

#include "host/weibull_model.h"

namespace tavrin21::host {

struct WeibullMle {
    double scale = 0.0;
    double shape = 0.0;
    double negLogLikelihood = 0.0;
    int iterations = 0;
};

// Newton's method on (ln scale, ln shape) with step-halving, until a step changes both by less
// than 1e-10 (relative in the parameters). Throws std::runtime_error when the sample has no
// failure or a time that is not positive, or when the iteration does not converge (e.g. all
// failures at one time, where the shape grows without bound).
WeibullMle FitWeibullMle(const WeibullSample& sample);

struct Interval {
    double lower = 0.0;
    double upper = 0.0;
};

struct WeibullBounds {
    Interval scale;
    Interval shape;
    Interval b10;
};

// Two-sided 95 % bounds from the observed Fisher information at the fit, normal on the log
// scale (so they stay positive): exp(ln p -/+ 1.96 sd(ln p)), with the delta method for B10.
WeibullBounds FisherBounds95(const WeibullSample& sample, const WeibullMle& fit);

}  // namespace tavrin21::host
