#pragma once

#include <cstdint>
#include <functional>
#include <utility>

namespace tavrin21 {

// A function the optimiser minimises, called with a point of `dimension` coordinates. With more
// than one evaluation thread it is called from several threads at once, so it must not change
// any state.
using Objective = std::function<double(const double* point)>;

// The same for a block of points at once: values[k] = f(points[k]) for k < count. Each value
// must depend on its own point only, so that any split of the points gives the same values.
using BatchObjective =
    std::function<void(const double* const* points, std::int32_t count, double* values)>;

// A batch objective that calls `objective` point by point.
inline BatchObjective PointByPoint(Objective objective) {
    return [objective = std::move(objective)](const double* const* points, std::int32_t count,
                                              double* values) {
        for (std::int32_t k = 0; k < count; ++k) {
            values[k] = objective(points[k]);
        }
    };
}

}  // namespace tavrin21
