// The optimiser where the Weibull vectors do not reach: ties, and values that are not numbers.

#include "stats/cross_entropy_optimizer.h"

#include "stats/attempts_ahead.h"
#include "stats/evaluation_pool.h"
#include "stats/point_evaluation.h"
#include "tests/support/vectors.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <numeric>
#include <stdexcept>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

constexpr double kLargest = std::numeric_limits<double>::max();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

TEST(CrossEntropyOptimizer, EliteAndMinimumRankNumbersInIndexOrderAndNeverTakeNaN) {
    struct Row {
        const char* name;
        std::vector<double> values;
        std::size_t slots;
        std::vector<std::uint16_t> expected;  // the filled slots
    };
    const Row rows[] = {
        {"ascending, ties in index order", {3.0, 1.0, 2.0, 1.0, 0.5, 1.0}, 5, {4, 1, 3, 5, 2}},
        {"a tie at the minimum", {2.0, 0.5, 0.5}, 1, {1}},
        {"the first of equal values keeps the last slot", {2.0, 1.0, 2.0, 1.5}, 3, {1, 3, 0}},
        {"the largest double is a number", {kLargest, 1.0, kLargest}, 3, {1, 0, 2}},
        {"infinities are taken once each", {kInfinity, 1.0, kInfinity}, 3, {1, 0, 2}},
        {"NaN values are left out", {kNaN, 2.0, kNaN, 1.0, 7.0}, 4, {3, 1, 4}},
        {"nothing but NaN", {kNaN, kNaN}, 2, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        NumVector values(static_cast<std::int32_t>(row.values.size()));
        std::copy(row.values.begin(), row.values.end(), values.Data());
        std::vector<std::uint16_t> elite(row.slots, 999);
        ASSERT_EQ(CrossEntropyOptimizer::SelectElite(values, elite), std::ssize(row.expected));
        elite.resize(row.expected.size());
        EXPECT_EQ(elite, row.expected);
        if (!elite.empty()) {  // the minimum search ranks alike
            EXPECT_EQ(CrossEntropyOptimizer::IndexOfMin(values), elite.front());
        }
    }
}

TEST(CrossEntropyOptimizer, StopsOnlyOnNumbersAndKeepsTheFirstOfEqualBests) {
    const auto flat = [](double value) { return [value](const double*) { return value; }; };
    // Floor 1000 at (30, 2); not a number over the right half of the box.
    const auto bowlWithHole = [](const double* p) {
        return p[0] > 50.0 ? kNaN : 1000.0 + std::pow(p[0] - 30.0, 2) + std::pow(p[1] - 2.0, 2);
    };
    struct Row {
        const char* name;
        std::function<double(const double*)> objective;
        double relativeTolerance;
        double absoluteTolerance;
        int expectedReturn;
        std::int32_t expectedIterations;
    };
    // With every value equal both change windows hold zeros: the mean change is 0, and the first
    // test after the 20 warm-up iterations decides.
    const Row rows[] = {
        {"flat: the relative test stops", flat(5.0), 0.001, 0.0, 0, 21},
        {"flat at 0: only the absolute test can stop", flat(0.0), 0.001, 1e-10, 0, 21},
        {"flat, no tolerances: up to the cap", flat(5.0), 0.0, 0.0, 1, 25},
        {"NaN everywhere: no elite at all", flat(kNaN), 0.001, 1e-10, 1, 1},
        {"infinite everywhere: inf - inf never stops", flat(kInfinity), 0.001, 1e-10, 1, 25},
        {"NaN over half the box", bowlWithHole, 0.001, 1e-10, 0, 21},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        double lower[] = {0.0, 0.0}, upper[] = {100.0, 10.0};
        CrossEntropyOptimizer optimizer;
        optimizer.dimension = 2;
        optimizer.lowerBounds.Refer(lower, 2);
        optimizer.upperBounds.Refer(upper, 2);
        optimizer.maxIterations = 25;
        optimizer.relativeTolerance = row.relativeTolerance;
        optimizer.absoluteTolerance = row.absoluteTolerance;
        std::vector<double> first;
        const int outcome = optimizer.Run([&](const double* point) {
            if (first.empty()) {
                first.assign(point, point + 2);
            }
            return row.objective(point);
        });
        EXPECT_EQ(outcome, row.expectedReturn);
        EXPECT_EQ(optimizer.status, outcome == 0 ? CrossEntropyOptimizer::kStatusOk
                                                 : CrossEntropyOptimizer::kStatusAccuracyViolation);
        EXPECT_EQ(optimizer.converged, outcome == 0);
        EXPECT_EQ(optimizer.counts.iterations, row.expectedIterations);
        const std::int64_t evaluations = optimizer.counts.evaluations;
        optimizer.Run(row.objective);  // a second run starts afresh
        EXPECT_EQ(optimizer.counts.evaluations, evaluations);
        if (optimizer.bestValue == kLargest) {
            continue;  // nothing to rank, or nothing below the largest double
        }
        const std::vector best(optimizer.bestPoint.Data(), optimizer.bestPoint.Data() + 2);
        EXPECT_EQ(row.objective(best.data()), optimizer.bestValue);
        EXPECT_TRUE(row.objective(first.data()) != optimizer.bestValue || best == first);
    }
}

// The points of a law drawn into the box one deviate at a time, as the optimiser must draw them:
// for each point, attempts of `dimension` deviates until one is inside.
struct DrawnPoints {
    std::vector<std::vector<double>> points;
    std::int64_t rejected = 0;
};

DrawnPoints DrawOneDeviateAtATime(const CrossEntropyOptimizer& optimizer,
                                  const NumVector& mean,
                                  const NumMatrix& factor,
                                  bool& makeFreshPair) {
    const std::int32_t n = optimizer.dimension;
    DrawnPoints drawn;
    std::vector<double> z(n), x(n);
    for (std::int32_t k = 0; k < optimizer.sampleSize; ++k) {
        bool inside = false;
        for (std::int32_t a = 0; a < optimizer.maxDrawAttempts && !inside; ++a) {
            for (double& deviate : z) {
                deviate = optimizer.GaussianDeviate(makeFreshPair);
            }
            inside = true;
            for (std::int32_t i = 0; i < n; ++i) {
                x[i] = mean[i];
                for (std::int32_t j = 0; j <= i; ++j) {
                    x[i] += factor.Rows()[i][j] * z[j];
                }
                inside =
                    inside && x[i] >= optimizer.lowerBounds[i] && x[i] <= optimizer.upperBounds[i];
            }
            drawn.rejected += inside ? 0 : 1;
        }
        if (!inside) {
            break;
        }
        drawn.points.push_back(x);
    }
    return drawn;
}

// Evaluates the points drawn on a pool's helpers, which make chunks of attempts ahead meanwhile.
class EvaluationWithAttemptsAhead final : public DrawnPointsSink {
  public:
    EvaluationWithAttemptsAhead(EvaluationPool& pool, AttemptsAhead& ahead)
        : pool_(pool), ahead_(ahead) {}
    void Drawn(std::int32_t points) override { pool_.Offer(points); }
    AttemptsAhead* AttemptsMadeAhead() override { return &ahead_; }

  private:
    EvaluationPool& pool_;
    AttemptsAhead& ahead_;
};

// Points drawn a chunk of attempts at a time from deviates made ahead are the points, counts and
// module-wide generator state that drawing one deviate at a time gives, over two iterations:
// on the calling thread alone, and with other threads making chunks ahead while they evaluate,
// the calling thread waiting for theirs or making every one it would wait for itself.
TEST(CrossEntropyOptimizer, DrawSampleGivesWhatDrawingOneDeviateAtATimeGives) {
    struct Row {
        const char* name;
        std::int32_t dimension;
        double spreadFactor;  // initial variance over width squared
        std::int32_t maxDrawAttempts;
    };
    const Row rows[] = {
        {"one coordinate", 1, 10.0, 3000},
        {"two coordinates", 2, 10.0, 3000},
        {"three coordinates, half pairs", 3, 1.0, 3000},
        {"five coordinates", 5, 0.05, 3000},
        {"two, a point runs out of its 3 attempts", 2, 10.0, 3},
        {"two, a point runs out of its 200 attempts, over chunks", 2, 25.0, 200},
        {"three, a point runs out of its 2 attempts", 3, 1.0, 2},
        {"two, nothing but NaN", 2, kNaN, 50},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::int32_t n = row.dimension;
        std::vector<double> lower(n, -1.0), upper(n, 3.0);
        CrossEntropyOptimizer optimizer;
        optimizer.dimension = n;
        optimizer.lowerBounds.Refer(lower.data(), n);
        optimizer.upperBounds.Refer(upper.data(), n);
        optimizer.initialSpreadFactor = row.spreadFactor;
        optimizer.maxDrawAttempts = row.maxDrawAttempts;
        NumVector mean(n);
        NumMatrix covariance(n, n), factor(n, n), sample(optimizer.sampleSize, n);
        optimizer.InitialLaw(mean, covariance);
        CrossEntropyOptimizer::Cholesky(factor.Rows(), covariance.Rows(), n);

        SeedRandom(optimizer.seed);
        bool makeFreshPair = true;
        std::vector<DrawnPoints> expected;
        for (int iteration = 0; iteration < 2; ++iteration) {
            expected.push_back(DrawOneDeviateAtATime(optimizer, mean, factor, makeFreshPair));
        }
        bool cachedSine = false;
        const double sine = optimizer.GaussianDeviate(cachedSine);
        const int nextDraw = DrawRandom();

        const BatchObjective firstCoordinate = PointByPoint([](const double* p) { return p[0]; });
        auto* pool = new EvaluationPool;
        for (const auto patience : {std::chrono::nanoseconds(-1), std::chrono::nanoseconds(0),
                                    std::chrono::nanoseconds(AttemptsAhead::kPatience)}) {
            SCOPED_TRACE(testing::Message() << "patience " << patience.count() << " ns");
            AttemptsAhead ahead(patience);
            EvaluationWithAttemptsAhead evaluation(*pool, ahead);
            const bool alone = patience.count() < 0;
            SeedRandom(optimizer.seed);
            {
                DeviateStream deviates;
                NumVector values(optimizer.sampleSize);
                for (const DrawnPoints& want : expected) {
                    optimizer.counts.rejectedDrawAttempts = 0;
                    pool->Open(firstCoordinate, sample.Rows(), optimizer.sampleSize, values.Data(),
                               alone ? 1 : 3, &ahead);
                    const std::int32_t drawn = optimizer.DrawSample(mean, factor, sample, deviates,
                                                                    alone ? nullptr : &evaluation);
                    pool->Close(drawn);
                    std::vector<std::vector<double>> points;
                    for (std::int32_t k = 0; k < drawn; ++k) {
                        points.emplace_back(sample.Rows()[k], sample.Rows()[k] + n);
                    }
                    EXPECT_TRUE(points == want.points) << drawn << " points drawn";
                    EXPECT_EQ(optimizer.counts.rejectedDrawAttempts, want.rejected);
                    EXPECT_EQ(optimizer.drawRejected, drawn < optimizer.sampleSize);
                }
            }
            cachedSine = false;
            EXPECT_EQ(test::BitsOf(optimizer.GaussianDeviate(cachedSine)), test::BitsOf(sine));
            EXPECT_EQ(DrawRandom(), nextDraw);
        }
        pool->JoinHelpersAndRelease();
    }
}

// The module's evaluation threads start with the first evaluation on several threads, stay for
// the next, grow when more are asked for, and stop on request; a stop without a start does
// nothing, and evaluations after a stop start them again. A pool's helpers with an idle lifetime
// leave once idle that long, and the next evaluation starts them again. An owner that lets go
// without waiting leaves them to end by themselves, and the last to end frees the pool (the
// sanitizer build checks that). Every evaluation, on any number of threads, gives the cubes.
TEST(EvaluationThreads, StartOnFirstUseStayLeaveWhenIdleOrStoppedAndStartAgain) {
    const auto cubeOf = [](const double* p) { return p[0] * p[0] * p[0]; };
    const BatchObjective cube = PointByPoint(cubeOf);
    std::vector<double> coordinates(500), expected;
    std::iota(coordinates.begin(), coordinates.end(), -250.0);
    std::vector<const double*> points;
    for (const double& coordinate : coordinates) {
        points.push_back(&coordinate);
        expected.push_back(cubeOf(&coordinate));
    }
    std::vector<double> values;
    const auto cleared = [&] {  // where the next evaluation writes
        values.assign(points.size(), kNaN);
        return values.data();
    };
    StopEvaluationThreads();
    StopEvaluationThreads();
    EXPECT_EQ(RunningEvaluationThreads(), 0);
    const struct {
        std::int32_t threads;
        std::int32_t running;  // afterwards
    } steps[] = {{1, 0}, {3, 2}, {2, 2}, {8, 7}, {0, 0}, {2, 1}};
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << step.threads << " threads (0: stop first)");
        if (step.threads == 0) {
            StopEvaluationThreads();
        }
        EvaluatePoints(cube, points.data(), 500, cleared(), step.threads);
        EXPECT_EQ(values, expected);
        EXPECT_EQ(RunningEvaluationThreads(), step.running);
    }
    StopEvaluationThreads();
    EXPECT_EQ(RunningEvaluationThreads(), 0);

    // Long enough that the helpers an evaluation started are still there when it returns, even
    // on a machine busy with a sanitizer build's tests. After the third round the owner lets go at
    // once.
    auto* pool = new EvaluationPool(std::chrono::milliseconds(500));
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        pool->Evaluate(cube, points.data(), 500, cleared(), 4);
        EXPECT_EQ(values, expected);
        EXPECT_EQ(pool->HelperCount(), 3);
        if (round == 2) {
            break;
        }
        for (int wait = 0; wait < 1000 && pool->HelperCount() > 0; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(pool->HelperCount(), 0);
    }
    pool->Release();
}

// Points evaluated while they are drawn: each thread evaluates a point only once it is offered
// (the points are written just before, with helpers given time to run ahead meanwhile), none
// beyond the count drawn in all, and an objective's failure on any thread reaches Finish and
// leaves the threads usable for the next rows. Without Finish, the evaluation ends without
// waiting for points that never come.
TEST(EvaluationThreads, PointsEvaluatedWhileDrawnAreThoseOfferedAndNoMore) {
    constexpr double kUnwritten = 1e300;  // its square is infinite
    const BatchObjective square = PointByPoint([](const double* p) {
        return p[0] > 600.0 && p[0] < kUnwritten ? throw std::domain_error("outside") : p[0] * p[0];
    });
    const struct {
        std::int32_t threads;
        std::vector<std::int32_t> offers;
        std::int32_t drawn;  // -1: no Finish
        bool throws;         // a point past 600 is drawn
    } rows[] = {{1, {0, 100}, 300, false},    {2, {0, 37, 37, 200, 480}, 500, false},
                {3, {8, 9, 100}, 123, false}, {8, {250}, 500, false},
                {3, {64, 128}, 640, true},    {4, {}, 0, false},
                {2, {40, 300}, -1, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.threads << " threads, " << row.drawn << " drawn");
        const std::int32_t capacity = std::max(500, row.drawn);
        std::vector<double> coordinates(capacity, kUnwritten);
        std::vector<const double*> points;
        for (const double& coordinate : coordinates) {
            points.push_back(&coordinate);
        }
        std::vector<double> values(capacity, -1.0);
        std::int32_t written = 0;
        const auto writeUpTo = [&](std::int32_t count) {
            for (; written < count; ++written) {
                coordinates[written] = written + 1.0;
            }
        };
        {
            EvaluationWhileDrawing evaluation(square, points.data(), capacity, values.data(),
                                              row.threads);
            for (const std::int32_t offer : row.offers) {
                writeUpTo(offer);
                evaluation.Drawn(offer);
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            if (row.drawn < 0) {
                continue;
            }
            writeUpTo(row.drawn);
            if (row.throws) {
                EXPECT_THROW(evaluation.Finish(row.drawn), std::domain_error);
                continue;
            }
            evaluation.Finish(row.drawn);
        }
        for (std::int32_t k = 0; k < capacity; ++k) {
            ASSERT_EQ(values[k], k < row.drawn ? (k + 1.0) * (k + 1.0) : -1.0) << "point " << k;
        }
    }
    StopEvaluationThreads();
}

}  // namespace
}  // namespace tavrin21
