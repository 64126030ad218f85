#pragma once

// Points of a Gaussian law drawn inside a box, from deviates made ahead.

#include "stats/random_sampling.h"

#include <cstdint>

namespace tavrin21 {

// The law points are drawn from, and the box they must fall in.
struct BoxedLaw {
    std::int32_t dimension;
    const double* mean;
    const double* const* factor;
    const double* lower;
    const double* upper;
};

struct SampleLimits {
    std::int32_t points;
    std::int32_t attemptsPerPoint;
};

// How a sample's drawing ended.
struct SampleProgress {
    std::int32_t drawn;
    std::int64_t rejected;
    bool lastRejected;
};

// Draws points into rows[0], rows[1] ... until limits.points are drawn or a point has used up
// limits.attemptsPerPoint attempts (at least 1). Each attempt takes the next `dimension`
// deviates; a point is the first of its attempts inside the box. The row after the last point
// drawn may hold a rejected attempt's coordinates.
SampleProgress DrawPointsInBox(const BoxedLaw& law,
                               const SampleLimits& limits,
                               DeviateStream& deviates,
                               double* const* rows);

}  // namespace tavrin21
