#include "stats/point_evaluation.h"

#include <atomic>
#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

TEST(EvaluatePoints, EveryPointOnceWhateverTheThreadCount) {
    std::vector<std::vector<double>> storage;
    for (int k = 0; k < 7; ++k) {
        storage.push_back({k + 0.5, 2.0 * k});
    }
    std::vector<const double*> points;
    for (const auto& point : storage) {
        points.push_back(point.data());
    }
    std::atomic<int> calls = 0;
    const Objective objective = [&calls](const double* point) {
        ++calls;
        return std::pow(point[0], 1.7) - point[1];
    };

    for (const int count : {0, 1, 2, 7}) {
        for (const int threads : {-1, 0, 1, 2, 3, 7, 16}) {
            SCOPED_TRACE(testing::Message() << count << " points on " << threads << " threads");
            std::vector<double> values(7, std::numeric_limits<double>::quiet_NaN());
            calls = 0;
            EvaluatePoints(objective, points.data(), count, values.data(), threads);
            EXPECT_EQ(calls, count);
            for (int k = 0; k < 7; ++k) {
                if (k < count) {
                    EXPECT_EQ(values[k], objective(points[k])) << "point " << k;
                } else {
                    EXPECT_TRUE(std::isnan(values[k])) << "point " << k << " was not asked for";
                }
            }
        }
    }
}

}  // namespace
}  // namespace tavrin21
