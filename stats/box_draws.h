#pragma once

// Points of a Gaussian law drawn inside a box, from deviates made ahead.

#include "stats/random_sampling.h"

#include <cstdint>
#include <vector>

namespace tavrin21 {

class AttemptsAhead;

// Attempts are made a chunk at a time.
inline constexpr std::int32_t kAttemptChunk = 128;

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

// The attempts of a chunk that fell inside the box, in order: the index of each in the chunk and
// its coordinates.
struct InsideAttempts {
    std::int32_t count = 0;
    std::int32_t attempt[kAttemptChunk];
    std::vector<double> points;  // count x dimension used, room for every attempt
};

// Makes the attempts of a chunk from their kAttemptChunk x dimension deviates and keeps those
// inside the box.
void MakeInsideAttempts(const BoxedLaw& law, const double* deviates, InsideAttempts& into);

// Told, while points are drawn, how many are drawn so far: their rows hold their final
// coordinates, which another thread may read while the drawing goes on.
class DrawnPointsSink {
  public:
    virtual void Drawn(std::int32_t points) = 0;
    // Other threads that make chunks of attempts ahead of the drawing, if any.
    virtual AttemptsAhead* AttemptsMadeAhead() { return nullptr; }

  protected:
    ~DrawnPointsSink() = default;
};

// Draws points into rows[0], rows[1] ... until limits.points (at least 1) are drawn or a point
// has used up limits.attemptsPerPoint attempts (at least 1). Each attempt takes the next
// `dimension` deviates; a point is the first of its attempts inside the box. `sink`, if any, is
// told of the points drawn after each chunk of attempts, but not of the last ones: the count
// returned says that. Where the sink has threads that make attempts ahead, they make chunks
// too; the points and the deviates taken are the same.
SampleProgress DrawPointsInBox(const BoxedLaw& law,
                               const SampleLimits& limits,
                               DeviateStream& deviates,
                               double* const* rows,
                               DrawnPointsSink* sink = nullptr);

}  // namespace tavrin21
