#include "stats/point_evaluation.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

namespace tavrin21 {
namespace {

void EvaluateRange(const Objective& objective,
                   const double* const* points,
                   std::int32_t begin,
                   std::int32_t end,
                   double* values) {
    for (std::int32_t k = begin; k < end; ++k) {
        values[k] = objective(points[k]);
    }
}

}  // namespace

void EvaluatePoints(const Objective& objective,
                    const double* const* points,
                    std::int32_t count,
                    double* values,
                    std::int32_t threads) {
    const std::int32_t workers = std::max(1, std::min(threads, count));
    if (workers == 1) {
        EvaluateRange(objective, points, 0, count, values);
        return;
    }
    // Contiguous shares; worker 0 is the calling thread.
    const auto shareBegin = [&](std::int32_t w) {
        return static_cast<std::int32_t>(static_cast<std::int64_t>(count) * w / workers);
    };
    std::vector<std::jthread> helpers;
    helpers.reserve(static_cast<std::size_t>(workers - 1));
    for (std::int32_t w = 1; w < workers; ++w) {
        const std::int32_t begin = shareBegin(w);
        const std::int32_t end = shareBegin(w + 1);
        try {
            helpers.emplace_back(EvaluateRange, std::cref(objective), points, begin, end, values);
        } catch (const std::system_error&) {
            // No thread to be had: the share is evaluated here, with the same result.
            EvaluateRange(objective, points, begin, end, values);
        }
    }
    EvaluateRange(objective, points, 0, shareBegin(1), values);
}

}  // namespace tavrin21
