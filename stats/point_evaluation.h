#pragma once

// The evaluation of an optimiser iteration's points, on the module's evaluation threads.
// Those threads are started on the first evaluation that asks for more than one thread and
// sleep between evaluations. StopEvaluationThreads ends them: the module calls it from its
// application object's ExitInstance, before any of its objects is destroyed. Where a module's
// threads must end before it can unload (framework::ModuleThreadsEndBeforeUnload), each ends
// by itself once it has had no work for a second, and holds the module until then; an unloaded
// module goes when its last thread has ended. A program that links the statistics directly and
// never calls StopEvaluationThreads leaves them asleep until it exits.

#include "stats/objective.h"

#include <chrono>
#include <cstdint>

namespace tavrin21 {

// Evaluation threads to use on this machine, the calling one included: one per hardware
// thread, at most kMaxEvaluationThreads; 1 where the machine has one or does not say. The draws
// of an iteration stay on one thread and every further thread costs a hand-over per iteration,
// so beyond eight the time saved per iteration is smaller than what the hand-overs cost, unless
// a part has hundreds of times.
inline constexpr std::int32_t kMaxEvaluationThreads = 8;
std::int32_t MachineEvaluationThreads();

// Threads worth using, at most maxThreads, for an evaluation of `terms` terms in all (points x
// terms per point; a term costs about one power): every thread must get at least
// kMinTermsPerThread, or handing its share over costs more than the thread saves. Measured on two
// idle cores (bench/weibull_fit_bench, BM_ThreadsBreakEven, medians of five): a second thread
// costs 10 % at four times and 500 points, saves 5 % at six and 15 - 25 % from twelve up; five
// times are 3,000 terms a thread.
inline constexpr std::int64_t kMinTermsPerThread = 3000;
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

// Joins the module's evaluation threads, if any were started; the next evaluation on several
// threads starts them again. Safe without a start, and twice. Where threads end before unload,
// it waits for nothing: it lets the threads end by themselves.
void StopEvaluationThreads();

// How many evaluation threads the module has running (the calling thread not counted).
std::int32_t RunningEvaluationThreads();

}  // namespace tavrin21
