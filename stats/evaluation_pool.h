#pragma once

// Threads that evaluate the points of an optimiser iteration together with the calling thread.
// They are started when a caller first asks for more than one thread, sleep on a condition
// variable between calls (no spinning), and are joined when the pool is destroyed.

#include "stats/objective.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace tavrin21 {

class EvaluationPool {
  public:
    EvaluationPool() = default;
    EvaluationPool(const EvaluationPool&) = delete;
    EvaluationPool& operator=(const EvaluationPool&) = delete;
    // Wakes and joins every helper.
    ~EvaluationPool();

    // values[k] = objective(points[k]) for k < count, on the calling thread and up to
    // threads - 1 helpers, which are started when fewer exist. Each value depends on its own
    // point only, so any number of threads gives the same values. One caller at a time. An
    // exception thrown by the objective on any thread reaches the caller once all have finished.
    void Evaluate(const Objective& objective,
                  const double* const* points,
                  std::int32_t count,
                  double* values,
                  std::int32_t threads);

    std::int32_t HelperCount() const { return static_cast<std::int32_t>(helpers_.size()); }

  private:
    struct Job {
        const Objective* objective = nullptr;
        const double* const* points = nullptr;
        double* values = nullptr;
        std::int32_t count = 0;
        std::int32_t chunkSize = 1;
    };

    void StartHelpers(std::int32_t wanted);
    void HelperLoop();
    // Claims chunks of the job until none is left; records the first exception.
    void EvaluateChunks(const Job& job) noexcept;

    std::mutex mutex_;
    std::condition_variable jobPosted_;
    std::condition_variable helpersLeft_;
    std::vector<std::thread> helpers_;
    // Guarded by mutex_.
    Job job_;
    std::uint64_t generation_ = 0;  // one per job, so that no helper joins a job twice
    bool jobOpen_ = false;          // helpers may still join
    std::int32_t seats_ = 0;        // helpers that may still join
    std::int32_t activeHelpers_ = 0;
    bool stopping_ = false;
    std::exception_ptr failure_;
    // Claimed without the lock; reset only while no helper is in a job.
    std::atomic<std::int32_t> nextChunk_ = 0;
};

}  // namespace tavrin21
