#pragma once

#include "stats/objective.h"

#include <cstdint>

namespace tavrin21 {

// values[k] = objective(points[k]) for k < count, on up to `threads` threads (the calling one
// included). Each value depends on its own point only, so the results are the same bit for bit
// with any number of threads. With one thread, or one point, no thread is created.
void EvaluatePoints(const Objective& objective,
                    const double* const* points,
                    std::int32_t count,
                    double* values,
                    std::int32_t threads);

}  // namespace tavrin21
