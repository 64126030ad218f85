// The Weibull fit against its floor. A fit costs its draw attempts (sequential by nature) plus,
// for each evaluation, one pow per time; everything else should be small beside them:
//   floor = draw attempts x (one draw attempt) + evaluations x times x (one pow) / (threads used).
// On several threads the other threads evaluate the points as they are drawn, and the floor still
// counts the draws whole: a fit on two threads could beat it by up to half its draws (at 10
// times, where draws and powers cost alike, by a third).
// Both unit costs are measured in every round of the benchmark, right after the fit they price
// and on that fit's own data (its times, and shapes the fit itself visits), so that a machine
// whose load changes during the run changes fit and floor alike. The ratio of each round is fit
// over floor, and every figure is the median over the rounds. Processor time (of every thread
// of the process) and wall time are kept apart; the unit costs are measured on one thread.

#include "stats/cross_entropy_optimizer.h"
#include "stats/fixed_base_powers.h"
#include "stats/portable_math.h"
#include "stats/weibull_estimator.h"
#include "stats/weibull_objective.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <random>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

namespace tavrin21 {
namespace {

constexpr double kLocation = 20.0;
constexpr std::int64_t kUnitBatch = 20000;  // pows or draw attempts per unit-cost measurement

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

void Load(WeibullEstimator& estimator, const FieldData& data) {
    NumVector failures;
    NumVector suspensions;
    failures.Refer(const_cast<double*>(data.failures.data()),
                   static_cast<std::int32_t>(data.failures.size()));
    suspensions.Refer(const_cast<double*>(data.suspensions.data()),
                      static_cast<std::int32_t>(data.suspensions.size()));
    estimator.failures.Assign(failures);
    estimator.suspensions.Assign(suspensions);
    estimator.failureCount = failures.Size();
    estimator.suspensionCount = suspensions.Size();
    estimator.location = kLocation;
}

// Seconds of processor time of the whole process (every thread), and of the wall clock.
struct Clocks {
    double cpu;
    double wall;
};

// The processor time of the whole process reaches the clock late for threads running on other
// processors (at their next scheduler tick, a few milliseconds), so it is read only around whole
// runs of fits; the unit costs, which run on the calling thread alone, read that thread's clock.
Clocks Now(clockid_t cpuClock = CLOCK_THREAD_CPUTIME_ID) {
    timespec cpu{};
    clock_gettime(cpuClock, &cpu);
    const auto wall = std::chrono::steady_clock::now().time_since_epoch();
    return {static_cast<double>(cpu.tv_sec) + static_cast<double>(cpu.tv_nsec) * 1e-9,
            std::chrono::duration<double>(wall).count()};
}

Clocks ProcessNow() {
    return Now(CLOCK_PROCESS_CPUTIME_ID);
}

Clocks Since(const Clocks& start) {
    const Clocks now = Now();
    return {now.cpu - start.cpu, now.wall - start.wall};
}

// What the floor is made of, for one data set: the shifted times, shapes the fit visits and the
// law of its first iteration, where the draw attempts are priced.
struct FloorInputs {
    std::vector<double> failures;
    std::vector<double> suspensions;
    std::vector<double> times;  // both
    std::vector<double> shapes;
    std::vector<double> scales;  // beside the shapes, point by point
    double lower[2] = {0.0, 0.0};
    double upper[2] = {0.0, 10.0};
};

// Runs the fit's search once on one thread, recording the shape of every point it evaluates,
// and keeps 64 of them spread over the run.
FloorInputs MakeFloorInputs(const FieldData& data) {
    FloorInputs inputs;
    for (const double t : data.failures) {
        inputs.failures.push_back(t - kLocation);
    }
    for (const double t : data.suspensions) {
        inputs.suspensions.push_back(t - kLocation);
    }
    inputs.times = inputs.failures;
    inputs.times.insert(inputs.times.end(), inputs.suspensions.begin(), inputs.suspensions.end());
    double sum = 0.0;
    for (const double t : inputs.times) {
        sum += t;
    }
    inputs.upper[0] = sum / static_cast<double>(inputs.times.size()) * 100;

    std::vector<double> visited;
    const WeibullObjective likelihood(inputs.failures, inputs.suspensions);
    CrossEntropyOptimizer optimizer;
    optimizer.dimension = 2;
    optimizer.lowerBounds.Refer(inputs.lower, 2);
    optimizer.upperBounds.Refer(inputs.upper, 2);
    optimizer.Run([&](const double* point) {
        visited.push_back(point[0]);
        visited.push_back(point[1]);
        return likelihood(point);
    });
    const std::size_t points = visited.size() / 2;
    const std::size_t step = std::max<std::size_t>(1, points / 64);
    for (std::size_t i = 0; i < points; i += step) {
        inputs.scales.push_back(visited[2 * i]);
        inputs.shapes.push_back(visited[2 * i + 1]);
    }
    return inputs;
}

// Per power t^beta over the fit's times and shapes, as the likelihood makes them: the times'
// fixed-base powers, whose logarithms are taken once, for several shapes side by side. Only one
// power of each call is summed: the likelihood adds several points' terms side by side, so that
// its sums cost little beside the powers, and a sum of every power here, each waiting on the one
// before, would cost more.
Clocks PowCost(const FloorInputs& inputs) {
    const FixedBasePowers powers(inputs.times);
    constexpr std::size_t sides = FixedBasePowers::kSideBySide;
    std::vector<double> block(inputs.times.size() * sides);
    double sum = 0.0;
    std::int64_t calls = 0;
    const Clocks start = Now();
    for (std::size_t s = 0; calls < kUnitBatch; s = (s + sides) % (inputs.shapes.size() - sides)) {
        powers.ComputeSideBySide(&inputs.shapes[s], 0, inputs.times.size(), block.data());
        sum = sum + block[s % block.size()];
        calls += static_cast<std::int64_t>(block.size());
    }
    const Clocks spent = Since(start);
    benchmark::DoNotOptimize(sum);
    return {spent.cpu / static_cast<double>(calls), spent.wall / static_cast<double>(calls)};
}

// Per evaluation, what the likelihood takes once per point beside its powers: (1/eta)^beta and
// the logarithms of beta and of that power, made as it makes them, for a block of the points the
// fit visits at once. Not in the floor, which counts the work that grows with the times; reported
// beside it.
Clocks PointCost(const FloorInputs& inputs) {
    const std::size_t points = inputs.shapes.size();
    std::vector<double> inverseScales(points), c(points), logShapes(points), logC(points);
    for (std::size_t s = 0; s < points; ++s) {
        inverseScales[s] = 1.0 / inputs.scales[s];
    }
    double sum = 0.0;
    std::int64_t calls = 0;
    const Clocks start = Now();
    for (; calls < kUnitBatch; calls += static_cast<std::int64_t>(points)) {
        portable::PowEach(inverseScales.data(), inputs.shapes.data(), points, c.data());
        portable::LogEach(inputs.shapes.data(), points, logShapes.data());
        portable::LogEach(c.data(), points, logC.data());
        sum = sum + logShapes[0] + logC[points - 1];
    }
    const Clocks spent = Since(start);
    benchmark::DoNotOptimize(sum);
    return {spent.cpu / static_cast<double>(calls), spent.wall / static_cast<double>(calls)};
}

// Per draw attempt of a fit, made as the fit makes them (deviates made ahead in blocks, the
// coordinates and box tests of a chunk of attempts at once, the points taken in order), from the
// law of the fit's first iteration (the one most attempts are rejected by).
Clocks DrawAttemptCost(FloorInputs& inputs) {
    CrossEntropyOptimizer optimizer;
    optimizer.dimension = 2;
    optimizer.lowerBounds.Refer(inputs.lower, 2);
    optimizer.upperBounds.Refer(inputs.upper, 2);
    NumVector mean(2);
    NumMatrix covariance(2, 2);
    NumMatrix factor(2, 2);
    NumMatrix sample(optimizer.sampleSize, 2);
    optimizer.InitialLaw(mean, covariance);
    CrossEntropyOptimizer::Cholesky(factor.Rows(), covariance.Rows(), 2);
    SeedRandom(optimizer.seed);
    DeviateStream deviates;
    std::int64_t attempts = 0;
    const Clocks start = Now();
    while (attempts < kUnitBatch) {
        attempts += optimizer.DrawSample(mean, factor, sample, deviates);
        attempts += std::exchange(optimizer.counts.rejectedDrawAttempts, 0);
    }
    const Clocks spent = Since(start);
    benchmark::DoNotOptimize(sample.Rows()[0][0]);
    const auto count = static_cast<double>(attempts);
    return {spent.cpu / count, spent.wall / count};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// One fit per round; range(0) times, range(1) evaluation threads the fit may use.
void BM_Fit(benchmark::State& state) {
    const std::int64_t count = state.range(0);
    const auto threads = static_cast<std::int32_t>(state.range(1));
    const FieldData data = SyntheticData(count);
    FloorInputs inputs = MakeFloorInputs(data);
    const auto fit = [&] {
        WeibullEstimator estimator;
        Load(estimator, data);
        estimator.evaluationThreads = threads;
        benchmark::DoNotOptimize(estimator.Estimate());
        return estimator.search;
    };
    const SearchCounts search = fit();  // also starts the evaluation threads
    const double attempts = static_cast<double>(search.evaluations + search.rejectedDrawAttempts);
    const double pows = static_cast<double>(search.evaluations) * static_cast<double>(count);
    // The fit may use fewer threads than it may: those it did use share the floor's pows.
    const double threadsUsed = std::max(search.evaluationThreads, 1);

    std::vector<double> fitWall, floorCpu, floorWall, ratioWall, pow, draw, point, ratioWithPoints;
    double unitCostsCpu = 0.0;  // this thread's, spent on the unit costs of every round
    const Clocks runStart = ProcessNow();
    for (auto _ : state) {
        const Clocks start = Now();
        benchmark::DoNotOptimize(fit());
        const Clocks spent = Since(start);
        state.SetIterationTime(spent.wall);

        state.PauseTiming();
        const Clocks unitStart = Now();
        const Clocks powCost = PowCost(inputs);
        const Clocks drawCost = DrawAttemptCost(inputs);
        const Clocks pointCost = PointCost(inputs);
        unitCostsCpu += Since(unitStart).cpu;
        fitWall.push_back(spent.wall);
        floorCpu.push_back(attempts * drawCost.cpu + pows * powCost.cpu);
        floorWall.push_back(attempts * drawCost.wall + pows * powCost.wall / threadsUsed);
        ratioWall.push_back(fitWall.back() / floorWall.back());
        const double evaluations = static_cast<double>(search.evaluations);
        ratioWithPoints.push_back(fitWall.back() /
                                  (floorWall.back() + evaluations * pointCost.wall / threadsUsed));
        point.push_back(pointCost.cpu);
        pow.push_back(powCost.cpu);
        draw.push_back(drawCost.cpu);
        state.ResumeTiming();
    }
    // Every thread's processor time over all rounds, less what the unit costs took: the fits'.
    const double rounds = static_cast<double>(fitWall.size());
    const double fitCpu = (ProcessNow().cpu - runStart.cpu - unitCostsCpu) / rounds;
    state.counters["threads_used"] = threadsUsed;
    state.counters["evaluations"] = static_cast<double>(search.evaluations);
    state.counters["draw_attempts"] = attempts;
    state.counters["pow_ns"] = Median(pow) * 1e9;
    state.counters["draw_attempt_ns"] = Median(draw) * 1e9;
    state.counters["per_point_ns"] = Median(point) * 1e9;
    state.counters["ratio_wall_with_points"] = Median(ratioWithPoints);
    state.counters["fit_cpu_ms"] = fitCpu * 1e3;
    state.counters["floor_cpu_ms"] = Median(floorCpu) * 1e3;
    state.counters["ratio_cpu"] = fitCpu / Median(floorCpu);
    state.counters["fit_wall_ms"] = Median(fitWall) * 1e3;
    state.counters["floor_wall_ms"] = Median(floorWall) * 1e3;
    state.counters["ratio_wall"] = Median(ratioWall);
}
BENCHMARK(BM_Fit)
    ->ArgNames({"times", "threads"})
    ->ArgsProduct({{10, 100, 1000}, {1, 2, 3, 4}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)  // several rounds even of the longest fits, for the medians
    ->UseManualTime()
    ->MeasureProcessCPUTime();

// Where a second thread starts to pay: fits of few times, with the evaluation of every iteration
// forced onto range(1) threads, whatever the module's own rule (ThreadsForWork) would choose.
void BM_ThreadsBreakEven(benchmark::State& state) {
    const FloorInputs inputs = MakeFloorInputs(SyntheticData(state.range(0)));
    const WeibullObjective likelihood(inputs.failures, inputs.suspensions);
    const auto fit = [&] {
        CrossEntropyOptimizer optimizer;
        optimizer.dimension = 2;
        optimizer.lowerBounds.Refer(const_cast<double*>(inputs.lower), 2);
        optimizer.upperBounds.Refer(const_cast<double*>(inputs.upper), 2);
        optimizer.evaluationThreads = static_cast<std::int32_t>(state.range(1));
        benchmark::DoNotOptimize(
            optimizer.Run([&](const double* const* points, std::int32_t count,
                              double* values) { likelihood.Evaluate(points, count, values); },
                          {.leavesGeneratorAlone = true}));
        return optimizer.sampleSize;
    };
    const std::int32_t points = fit();  // also starts the evaluation threads
    for (auto _ : state) {
        benchmark::DoNotOptimize(fit());
    }
    state.counters["terms_per_thread"] =
        static_cast<double>(points * state.range(0)) / static_cast<double>(state.range(1));
}
BENCHMARK(BM_ThreadsBreakEven)
    ->ArgNames({"times", "threads"})
    ->Apply([](benchmark::internal::Benchmark* bench) {
        for (const std::int64_t times : {1, 2, 4, 6, 8, 12, 16, 24}) {
            bench->Args({times, 1})->Args({times, 2});  // side by side
        }
    })
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0)
    ->UseRealTime();

}  // namespace
}  // namespace tavrin21

int main(int argc, char** argv) {
    std::printf(
        "Each BM_Fit round: one fit, then its floor's unit costs on the fit's own data.\n"
        "  floor = draw attempts x draw_attempt + evaluations x times x pow / threads_used\n"
        "  (wall), threads_used being what the fit chose of the threads it was allowed; the\n"
        "  processor-time floor does not divide by threads, and neither floor divides the\n"
        "  draws, which other threads share and overlap with evaluations. Time is the fit's\n"
        "  wall time; fit_cpu_ms the processor time of every thread, averaged over all\n"
        "  rounds (the system books other threads' time late, so a single round's is not\n"
        "  reliable); the other *_ms, *_ns and ratio_wall are medians over the rounds;\n"
        "  ratio = fit / floor (a number; 'm' after a counter means thousandths). The\n"
        "  benchmark's own CPU column is the library's process-time measure and shares that\n"
        "  lateness. per_point_ns is what an evaluation takes once beside its powers\n"
        "  ((1/eta)^beta and two logarithms), which the floor leaves out;\n"
        "  ratio_wall_with_points puts it in.\n"
        "Each BM_ThreadsBreakEven round: one fit on a likelihood of `times` times, forced\n"
        "  onto `threads` threads; where 2 beats 1 the hand-over pays.\n");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
