// The Weibull fit and its floor. A fit costs its draws (sequential by nature) plus, for each
// evaluation, one pow per time; everything else should be small beside them:
//   floor = draw attempts x (cost of one attempt) + evaluations x times x (cost of one pow) /
//   threads.
// BM_Pow and BM_DrawAttempt measure the two unit costs in the same run, and BM_Estimate reports
// each fit's time with its floor and the ratio of the two.

#include "stats/cross_entropy_optimizer.h"
#include "stats/weibull_estimator.h"
#include "stats/weibull_objective.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

namespace tavrin21 {
namespace {

constexpr double kLocation = 20.0;

struct FieldData {
    std::vector<double> failures;
    std::vector<double> suspensions;
};

// Times of a Weibull law (shape 1.5, scale 1000) after the time origin, about 30 % of them
// suspended, rounded to hundredths as recorded field data are. The same every run.
FieldData SyntheticData(std::int64_t count) {
    std::mt19937_64 engine(20261206 + static_cast<std::uint64_t>(count));
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    FieldData data;
    while (static_cast<std::int64_t>(data.failures.size() + data.suspensions.size()) < count) {
        const double life = 1000.0 * std::pow(-std::log1p(-uniform(engine)), 1.0 / 1.5);
        const double time = std::round(life * 100.0) / 100.0 + 0.01 + kLocation;
        if (uniform(engine) < 0.3 && !data.failures.empty()) {
            data.suspensions.push_back(time);
        } else {
            data.failures.push_back(time);
        }
    }
    return data;
}

void Load(WeibullEstimator& estimator, FieldData& data) {
    NumVector failures;
    NumVector suspensions;
    failures.Refer(data.failures.data(), static_cast<std::int32_t>(data.failures.size()));
    suspensions.Refer(data.suspensions.data(), static_cast<std::int32_t>(data.suspensions.size()));
    estimator.failures.Assign(failures);
    estimator.suspensions.Assign(suspensions);
    estimator.failureCount = failures.Size();
    estimator.suspensionCount = suspensions.Size();
    estimator.location = kLocation;
}

// Processor time of the process: the unit costs are measured on one thread, and processor time
// holds still on a machine shared with other work, where wall time does not.
double CpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Seconds per item as the benchmark measured it (processor or wall time, as the benchmark uses).
benchmark::Counter PerItem(double itemsPerIteration) {
    return benchmark::Counter(itemsPerIteration, benchmark::Counter::kIsIterationInvariantRate |
                                                     benchmark::Counter::kInvert);
}

// Unit costs in seconds, as measured by the last run of their benchmarks.
double powCost = 0.0;
double drawAttemptCost = 0.0;

// One pow(t, beta) over recorded times and the shapes a fit visits.
void BM_Pow(benchmark::State& state) {
    const FieldData data = SyntheticData(1000);
    std::vector<double> times = data.failures;
    for (double& t : times) {
        t -= kLocation;
    }
    const std::array<double, 8> shapes = {0.61, 0.93, 1.27, 1.49, 1.52, 1.86, 3.4, 7.9};
    double sum = 0.0;
    std::int64_t calls = 0;
    const double start = CpuSeconds();
    for (auto _ : state) {
        for (const double beta : shapes) {
            for (const double t : times) {
                sum += std::pow(t, beta);
            }
        }
        calls += static_cast<std::int64_t>(shapes.size() * times.size());
    }
    powCost = (CpuSeconds() - start) / static_cast<double>(calls);
    benchmark::DoNotOptimize(sum);
    state.counters["s_per_pow"] = PerItem(static_cast<double>(shapes.size() * times.size()));
}
BENCHMARK(BM_Pow);

// One draw attempt of a fit: two normal deviates, the coordinates and the box test.
void BM_DrawAttempt(benchmark::State& state) {
    double lower[] = {0.0, 0.0};
    double upper[] = {100000.0, 10.0};
    CrossEntropyOptimizer optimizer;
    optimizer.dimension = 2;
    optimizer.lowerBounds.Refer(lower, 2);
    optimizer.upperBounds.Refer(upper, 2);
    NumVector mean(2);
    NumMatrix covariance(2, 2);
    NumMatrix factor(2, 2);
    optimizer.InitialLaw(mean, covariance);
    CrossEntropyOptimizer::Cholesky(factor.Rows(), covariance.Rows(), 2);
    double deviates[2];
    double point[2];
    bool makeFreshPair = true;
    SeedRandom(1234567891);
    std::int64_t inside = 0;
    const double start = CpuSeconds();
    for (auto _ : state) {
        inside += optimizer.DrawAttempt(mean, factor.Rows(), deviates, point, makeFreshPair);
    }
    drawAttemptCost = (CpuSeconds() - start) / static_cast<double>(state.iterations());
    benchmark::DoNotOptimize(inside);
}
BENCHMARK(BM_DrawAttempt);

// One evaluation of the likelihood as a fit makes it, near the fitted point.
void BM_NegLogLikelihood(benchmark::State& state) {
    FieldData data = SyntheticData(state.range(0));
    WeibullEstimator estimator;
    Load(estimator, data);
    for (std::int32_t i = 0; i < estimator.failureCount; ++i) {
        estimator.failures[i] -= kLocation;
    }
    for (std::int32_t i = 0; i < estimator.suspensionCount; ++i) {
        estimator.suspensions[i] -= kLocation;
    }
    const Objective objective = estimator.LikelihoodObjective();
    const double point[] = {1000.0, 1.5};
    for (auto _ : state) {
        benchmark::DoNotOptimize(objective(point));
    }
    state.counters["s_per_time"] = PerItem(static_cast<double>(state.range(0)));
}
BENCHMARK(BM_NegLogLikelihood)->RangeMultiplier(10)->Range(10, 10000);

// A whole fit; range(0) times, range(1) evaluation threads.
void BM_Estimate(benchmark::State& state) {
    const std::int64_t count = state.range(0);
    const auto threads = static_cast<std::int32_t>(state.range(1));
    if (powCost == 0.0 || drawAttemptCost == 0.0) {
        state.SkipWithError("the floor needs BM_Pow and BM_DrawAttempt in the same run");
        return;
    }
    const FieldData data = SyntheticData(count);
    SearchReport report;
    for (auto _ : state) {
        state.PauseTiming();
        FieldData copy = data;
        WeibullEstimator estimator;
        Load(estimator, copy);
        estimator.evaluationThreads = threads;
        state.ResumeTiming();
        benchmark::DoNotOptimize(estimator.Estimate());
        report = estimator.search;
    }
    const double attempts = static_cast<double>(report.evaluations + report.rejectedDrawAttempts);
    const double drawSeconds = attempts * drawAttemptCost;
    const double evaluationSeconds =
        static_cast<double>(report.evaluations) * static_cast<double>(count) * powCost / threads;
    state.counters["iterations"] = report.iterations;
    state.counters["evaluations"] = static_cast<double>(report.evaluations);
    state.counters["draw_attempts"] = attempts;
    state.counters["draws_ms"] = drawSeconds * 1e3;
    state.counters["floor_ms"] = (drawSeconds + evaluationSeconds) * 1e3;
    state.counters["ratio_to_floor"] = PerItem(drawSeconds + evaluationSeconds);
}

// One thread, timed by processor time.
BENCHMARK(BM_Estimate)
    ->ArgNames({"times", "threads"})
    ->ArgsProduct({{10, 100, 1000, 10000}, {1}})
    ->Unit(benchmark::kMillisecond);
// Several threads only pay in wall time, which a busy machine stretches: compare with the
// one-thread run of the same listing, not with the floor alone.
BENCHMARK(BM_Estimate)
    ->ArgNames({"times", "threads"})
    ->ArgsProduct({{1000, 10000}, {1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace tavrin21

BENCHMARK_MAIN();
