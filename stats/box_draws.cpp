#include "stats/box_draws.h"

#include "stats/attempts_ahead.h"
#include "stats/wide_vectors.h"

#include <algorithm>
#include <cstddef>

namespace tavrin21 {
namespace {

// A chunk's attempts are made in a loop without branches (every attempt's coordinates and box
// test), then those inside are kept, again without a branch per outcome: the outcome is random
// and would be mispredicted half of the time. The last chunk of an iteration is mostly left
// over; its deviates stay in the stream.

// Coordinate i is mean[i] + factor[i][0] z[0] + ... + factor[i][i] z[i], summed in that order;
// a bound itself is inside, and a coordinate that is not a number fails both tests.
void MakeAttempts(const BoxedLaw& law,
                  const double* deviates,
                  double* points,
                  std::int32_t* inside) {
    const std::int32_t n = law.dimension;
    for (std::int32_t a = 0; a < kAttemptChunk; ++a) {
        const double* z = deviates + a * n;
        double* x = points + a * n;
        bool in = true;
        for (std::int32_t i = 0; i < n; ++i) {
            double sum = law.mean[i];
            for (std::int32_t j = 0; j <= i; ++j) {
                sum += law.factor[i][j] * z[j];
            }
            x[i] = sum;
            in &= (sum >= law.lower[i]) & (sum <= law.upper[i]);
        }
        inside[a] = in;
    }
}

// The same in two dimensions, with the law in registers, so that the coordinates are made by
// vector instructions.
TAVRIN21_WIDE_VECTORS void MakeAttemptsOfTwo(const BoxedLaw& law,
                                             const double* deviates,
                                             double* points,
                                             std::int32_t* inside) {
    const double mean0 = law.mean[0], mean1 = law.mean[1];
    const double factor00 = law.factor[0][0], factor10 = law.factor[1][0],
                 factor11 = law.factor[1][1];
    const double lower0 = law.lower[0], lower1 = law.lower[1];
    const double upper0 = law.upper[0], upper1 = law.upper[1];
    for (std::int32_t a = 0; a < kAttemptChunk; ++a) {
        const double z0 = deviates[2 * a];
        const double z1 = deviates[2 * a + 1];
        points[2 * a] = mean0 + factor00 * z0;
        points[2 * a + 1] = mean1 + factor10 * z0 + factor11 * z1;
    }
    for (std::int32_t a = 0; a < kAttemptChunk; ++a) {
        const double x0 = points[2 * a];
        const double x1 = points[2 * a + 1];
        inside[a] = (x0 >= lower0) & (x0 <= upper0) & (x1 >= lower1) & (x1 <= upper1);
    }
}

// The drawing so far, and its end once it has ended.
struct Drawing {
    SampleProgress progress{0, 0, false};
    std::int32_t failedAttempts = 0;  // of the point being drawn
    bool ended = false;
};

// A plain loop rather than std::copy_n, which calls memmove for two coordinates.
void CopyPoint(const InsideAttempts& chunk, std::int32_t k, std::int32_t dimension, double* row) {
    const double* point = chunk.points.data() + static_cast<std::ptrdiff_t>(k) * dimension;
    for (std::int32_t i = 0; i < dimension; ++i) {
        row[i] = point[i];
    }
}

// Takes every inside attempt of a chunk in which the drawing cannot end, without a test each.
std::int32_t TakeWholeChunk(const InsideAttempts& chunk,
                            std::int32_t dimension,
                            double* const* rows,
                            Drawing& drawing) {
    SampleProgress& progress = drawing.progress;
    for (std::int32_t k = 0; k < chunk.count; ++k) {
        CopyPoint(chunk, k, dimension, rows[progress.drawn + k]);
    }
    progress.drawn += chunk.count;
    progress.rejected += kAttemptChunk - chunk.count;
    drawing.failedAttempts = chunk.count == 0 ? drawing.failedAttempts + kAttemptChunk
                                              : kAttemptChunk - 1 - chunk.attempt[chunk.count - 1];
    return kAttemptChunk;
}

// Takes the chunk's inside attempts as points, in order, until the drawing ends. Returns how
// many of the chunk's attempts it used: all of them unless the drawing ended in the chunk.
std::int32_t TakeChunk(const InsideAttempts& chunk,
                       const SampleLimits& limits,
                       std::int32_t dimension,
                       double* const* rows,
                       Drawing& drawing) {
    SampleProgress& progress = drawing.progress;
    // The point being drawn runs out at its attempt `left` from `next` on, unless one before is
    // inside.
    const auto runOut = [&](std::int32_t next) {
        const std::int32_t left = limits.attemptsPerPoint - drawing.failedAttempts;
        progress.rejected += left;
        progress.lastRejected = true;
        drawing.ended = true;
        return next + left;
    };
    if (progress.drawn + chunk.count < limits.points &&
        kAttemptChunk < limits.attemptsPerPoint - drawing.failedAttempts) {
        return TakeWholeChunk(chunk, dimension, rows, drawing);
    }
    std::int32_t next = 0;  // the first attempt of the chunk not yet accounted for
    for (std::int32_t k = 0; k < chunk.count; ++k) {
        const std::int32_t attempt = chunk.attempt[k];
        if (attempt - next >= limits.attemptsPerPoint - drawing.failedAttempts) {
            return runOut(next);
        }
        progress.rejected += attempt - next;
        CopyPoint(chunk, k, dimension, rows[progress.drawn]);
        ++progress.drawn;
        drawing.failedAttempts = 0;
        next = attempt + 1;
        if (progress.drawn == limits.points) {
            drawing.ended = true;
            return next;
        }
    }
    if (kAttemptChunk - next >= limits.attemptsPerPoint - drawing.failedAttempts) {
        return runOut(next);
    }
    progress.rejected += kAttemptChunk - next;
    drawing.failedAttempts += kAttemptChunk - next;
    return kAttemptChunk;
}

SampleProgress DrawFromStream(const BoxedLaw& law,
                              const SampleLimits& limits,
                              DeviateStream& deviates,
                              double* const* rows,
                              DrawnPointsSink* sink) {
    const std::int32_t n = law.dimension;
    InsideAttempts chunk;
    chunk.points.resize(static_cast<std::size_t>(kAttemptChunk) * n);
    Drawing drawing;
    for (;;) {
        MakeInsideAttempts(law, deviates.Ready(kAttemptChunk * n), chunk);
        deviates.Take(TakeChunk(chunk, limits, n, rows, drawing) * n);
        if (drawing.ended) {
            return drawing.progress;
        }
        if (sink != nullptr) {
            sink->Drawn(drawing.progress.drawn);
        }
    }
}

// The same, with the chunks made by whichever thread comes first; the deviates are taken at the
// end, as many as the attempts used.
SampleProgress DrawAhead(const BoxedLaw& law,
                         const SampleLimits& limits,
                         DeviateStream& deviates,
                         double* const* rows,
                         DrawnPointsSink& sink,
                         AttemptsAhead& ahead) {
    const std::int32_t n = law.dimension;
    ahead.Start(law, deviates.Position());
    Drawing drawing;
    std::int64_t wantedAfter = AttemptsAhead::kSlots;  // until points say how many more
    for (std::int64_t chunk = 0;; ++chunk) {
        const std::int32_t used =
            TakeChunk(ahead.Take(chunk, wantedAfter), limits, n, rows, drawing);
        if (drawing.ended) {
            ahead.Stop();
            deviates.Skip((chunk * kAttemptChunk + used) * n);
            return drawing.progress;
        }
        sink.Drawn(drawing.progress.drawn);
        // The chunks the points still wanted take at the rate drawn so far, rounded up, less
        // the next one.
        const std::int64_t drawn = drawing.progress.drawn;
        if (drawn > 0) {
            wantedAfter = ((limits.points - drawn) * (chunk + 1) + drawn - 1) / drawn - 1;
        }
    }
}

}  // namespace

void MakeInsideAttempts(const BoxedLaw& law, const double* deviates, InsideAttempts& into) {
    const std::int32_t n = law.dimension;
    double* const kept = into.points.data();
    // Every attempt's coordinates are written where the next inside one goes; only an inside
    // one moves that on.
    std::int32_t inside[kAttemptChunk];
    std::int32_t count = 0;
    if (n == 2) {
        double points[2 * kAttemptChunk];
        MakeAttemptsOfTwo(law, deviates, points, inside);
        for (std::int32_t a = 0; a < kAttemptChunk; ++a) {
            kept[2 * count] = points[2 * a];
            kept[2 * count + 1] = points[2 * a + 1];
            into.attempt[count] = a;
            count += inside[a];
        }
    } else {
        MakeAttempts(law, deviates, kept, inside);
        for (std::int32_t a = 0; a < kAttemptChunk; ++a) {
            // Moved down over rejected ones, in order: a kept point never overwrites one to come.
            for (std::int32_t i = 0; i < n; ++i) {
                kept[count * n + i] = kept[a * n + i];
            }
            into.attempt[count] = a;
            count += inside[a];
        }
    }
    into.count = count;
}

SampleProgress DrawPointsInBox(const BoxedLaw& law,
                               const SampleLimits& limits,
                               DeviateStream& deviates,
                               double* const* rows,
                               DrawnPointsSink* sink) {
    AttemptsAhead* ahead = sink == nullptr ? nullptr : sink->AttemptsMadeAhead();
    return ahead == nullptr ? DrawFromStream(law, limits, deviates, rows, sink)
                            : DrawAhead(law, limits, deviates, rows, *sink, *ahead);
}

}  // namespace tavrin21
