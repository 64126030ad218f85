#include "stats/box_draws.h"

#include "stats/wide_vectors.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace tavrin21 {
namespace {

// Attempts are made a chunk at a time, each from the next `dimension` deviates: first every
// attempt's coordinates and box test, in a loop without branches, then the points are taken in
// order. The last chunk of an iteration is mostly left over; its deviates stay in the stream.
constexpr std::int32_t kAttemptChunk = 128;

// Coordinate i is mean[i] + factor[i][0] z[0] + ... + factor[i][i] z[i], summed in that order;
// a bound itself is inside, and a coordinate that is not a number fails both tests.
void MakeAttempts(const BoxedLaw& law,
                  const double* deviates,
                  double* points,
                  std::int64_t* inside) {
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
                                             std::int64_t* inside) {
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

// Draws points until all are drawn or one has used up its attempts. kDimension is the law's
// dimension, or 0 for any.
template <std::int32_t kDimension>
SampleProgress DrawPoints(const BoxedLaw& law,
                          const SampleLimits& limits,
                          DeviateStream& deviates,
                          double* const* rows,
                          DrawnPointsSink* sink) {
    const std::int32_t n = kDimension > 0 ? kDimension : law.dimension;
    std::vector<double> pointsOfAnyDimension(kDimension > 0 ? 0 : kAttemptChunk * n);
    double pointsOfFixedDimension[kAttemptChunk * std::max(kDimension, 1)];
    double* points = kDimension > 0 ? pointsOfFixedDimension : pointsOfAnyDimension.data();
    std::int64_t inside[kAttemptChunk];
    std::int32_t drawn = 0;
    std::int32_t failedAttempts = 0;  // of the point being drawn
    std::int64_t rejected = 0;
    for (;;) {
        const double* z = deviates.Ready(kAttemptChunk * n);
        if constexpr (kDimension == 2) {
            MakeAttemptsOfTwo(law, z, points, inside);
        } else {
            MakeAttempts(law, z, points, inside);
        }
        // Every attempt writes the row of the point being drawn and only an inside one moves on
        // to the next row, so that the outcome, random as it is, never steers a branch.
        for (std::int32_t a = 0; a < kAttemptChunk; ++a) {
            std::copy_n(points + static_cast<std::ptrdiff_t>(a) * n, n, rows[drawn]);
            const bool in = inside[a] != 0;
            drawn += in;
            failedAttempts = in ? 0 : failedAttempts + 1;
            rejected += !in;
            if (drawn == limits.points || failedAttempts == limits.attemptsPerPoint) {
                deviates.Take((a + 1) * n);
                return {drawn, rejected, !in};
            }
        }
        deviates.Take(kAttemptChunk * n);
        if (sink != nullptr) {
            sink->Drawn(drawn);
        }
    }
}

}  // namespace

SampleProgress DrawPointsInBox(const BoxedLaw& law,
                               const SampleLimits& limits,
                               DeviateStream& deviates,
                               double* const* rows,
                               DrawnPointsSink* sink) {
    return law.dimension == 2 ? DrawPoints<2>(law, limits, deviates, rows, sink)
                              : DrawPoints<0>(law, limits, deviates, rows, sink);
}

}  // namespace tavrin21
