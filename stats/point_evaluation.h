#pragma once

// The evaluation of an optimiser iteration's points, on the module's evaluation threads.
// Those threads are started on the first evaluation that asks for more than one thread and
// sleep between evaluations. StopEvaluationThreads ends them: the module calls it from its
// application object's ExitInstance, before any of its objects is destroyed. Where a module's
// threads must end before it can unload (framework::ModuleThreadsEndBeforeUnload), each ends
// by itself once it has had no work for a second, and holds the module until then; an unloaded
// module goes when its last thread has ended. A program that links the statistics directly and
// never calls StopEvaluationThreads leaves them asleep until it exits.

#include "stats/box_draws.h"
#include "stats/objective.h"

#include <chrono>
#include <cstdint>
#include <mutex>

namespace tavrin21 {

// Evaluation threads to use on this machine, the calling one included: one per processor the
// process may keep busy (its affinity and CPU quota allow), at most kMaxEvaluationThreads. The
// points of an iteration are taken in order on one thread and every further thread costs a
// hand-over per iteration, so beyond eight the time saved per iteration is smaller than what the
// hand-overs cost, unless a part has hundreds of times.
inline constexpr std::int32_t kMaxEvaluationThreads = 8;
std::int32_t MachineEvaluationThreads();

// Threads worth using, at most maxThreads, for an evaluation of `terms` terms in all (points x
// terms per point; a term costs about one power): every thread must get at least
// kMinTermsPerThread, or handing its share over costs more than the thread saves. Measured on two
// idle cores with the points evaluated while they are drawn (bench/weibull_fit_bench,
// BM_ThreadsBreakEven, medians of five): a second thread saves 12 % at one time and 500 points
// (4,000 terms), 18 - 40 % from two times up, so that every fit of the likelihood pays for two.
inline constexpr std::int64_t kMinTermsPerThread = 2000;
std::int32_t ThreadsForWork(std::int64_t terms, std::int32_t maxThreads);

// values[k] = objective(points[k]) for k < count, on up to `threads` threads (the calling one
// included), each taking blocks of points. Each value depends on its own point only, so the results
// are the same bit for bit with any number of threads. With one thread, or one point, no thread is
// used. One caller at a time. Returns how long the calling thread, its own share done, waited for
// the other threads.
std::chrono::nanoseconds EvaluatePoints(const BatchObjective& objective,
                                        const double* const* points,
                                        std::int32_t count,
                                        double* values,
                                        std::int32_t threads);

class EvaluationPool;

// The same for points that are still being drawn: the other threads evaluate the points that
// DrawPointsInBox says are drawn while the calling thread draws the rest, and Finish evaluates
// what is left, so that the draws no longer wait for the evaluations nor these for the draws.
// While no drawn point is left to evaluate, the other threads make chunks of attempts ahead of
// the drawing. Only for an objective that never touches the random generator, which the drawing
// uses meanwhile. Holds the module's threads from construction to destruction: one at a time.
class EvaluationWhileDrawing final : public DrawnPointsSink {
  public:
    // values[k] = objective(points[k]) for each point drawn, of at most `capacity`.
    EvaluationWhileDrawing(const BatchObjective& objective,
                           const double* const* points,
                           std::int32_t capacity,
                           double* values,
                           std::int32_t threads);
    EvaluationWhileDrawing(const EvaluationWhileDrawing&) = delete;
    EvaluationWhileDrawing& operator=(const EvaluationWhileDrawing&) = delete;
    // Without Finish (the drawing failed), waits for the other threads and drops their values.
    ~EvaluationWhileDrawing();

    void Drawn(std::int32_t points) override;
    AttemptsAhead* AttemptsMadeAhead() override { return ahead_; }
    // Once `count` points are drawn in all: evaluates those left, and returns as EvaluatePoints.
    std::chrono::nanoseconds Finish(std::int32_t count);

  private:
    const BatchObjective& objective_;
    const double* const* points_;
    double* values_;
    std::unique_lock<std::mutex> poolLock_;
    EvaluationPool* pool_ = nullptr;  // none with one thread
    AttemptsAhead* ahead_ = nullptr;  // the module's, with the pool
    bool finished_ = false;
};

// Joins the module's evaluation threads, if any were started; the next evaluation on several
// threads starts them again. Safe without a start, and twice. Where threads end before unload,
// it waits for nothing: it lets the threads end by themselves.
void StopEvaluationThreads();

// How many evaluation threads the module has running (the calling thread not counted).
std::int32_t RunningEvaluationThreads();

}  // namespace tavrin21
