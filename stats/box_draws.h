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

// Told, while points are drawn, how many are drawn so far: their rows hold their final
// coordinates, which another thread may read while the drawing goes on.
class DrawnPointsSink {
  public:
    virtual void Drawn(std::int32_t points) = 0;

  protected:
    ~DrawnPointsSink() = default;
};

// Draws points into rows[0], rows[1] ... until limits.points are drawn or a point has used up
// limits.attemptsPerPoint attempts (at least 1). Each attempt takes the next `dimension`
// deviates; a point is the first of its attempts inside the box. The row after the last point
// drawn may hold a rejected attempt's coordinates. `sink`, if any, is told of the points drawn
// after each chunk of attempts, but not of the last ones: the count returned says that.
SampleProgress DrawPointsInBox(const BoxedLaw& law,
                               const SampleLimits& limits,
                               DeviateStream& deviates,
                               double* const* rows,
                               DrawnPointsSink* sink = nullptr);

}  // namespace tavrin21
