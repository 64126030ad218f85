#pragma once

// Plotting positions of failures: Bernard's approximation of the median rank, at Johnson's
// adjusted rank order when suspensions are interleaved with the failures.

#include "host/weibull_model.h"

#include <vector>

namespace tavrin21::host {

struct RankedFailure {
    double time = 0.0;
    double adjustedOrder = 0.0;  // the failure's order number, shifted up by earlier suspensions
    double medianRank = 0.0;     // (order - 0.3) / (n + 0.4), n counting every unit
};

// The failures in time order with their ranks. A suspension at the same time as a failure is
// taken to have outlived it.
std::vector<RankedFailure> MedianRanks(const WeibullSample& sample);

}  // namespace tavrin21::host
