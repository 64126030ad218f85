#pragma once

// Threads that evaluate the points of an optimiser iteration together with the calling thread.
// They are started when a caller first asks for more than one thread. Between the iterations of
// a run they wait for the next job by spinning on a counter for a short while, so that handing a
// job over costs no system call; when no job comes (between fits) they sleep. They are joined
// when the pool is destroyed.

#include "stats/objective.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace tavrin21 {

// A condition that one thread makes true and others wait for: first spinning for up to `spin`,
// then asleep. Ring after making the condition true.
class Doorbell {
  public:
    template <class Ready>
    void Wait(const Ready& ready, std::chrono::microseconds spin);
    void Ring();

  private:
    std::mutex mutex_;
    std::condition_variable rung_;
    std::atomic<std::int32_t> sleepers_ = 0;
};

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
    // Returns how long the caller, its own share done, waited for the helpers' last chunks.
    std::chrono::nanoseconds Evaluate(const Objective& objective,
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
    // Takes part in every job posted after `lastJob` until the pool stops.
    void HelperLoop(std::uint32_t lastJob);
    // Joins the posted job if a seat is left; false when none was.
    bool JoinJob();
    // Claims chunks of the job until none is left; records the first exception.
    void EvaluateChunks(const Job& job) noexcept;

    std::vector<std::thread> helpers_;
    // Written by the caller while no helper can join, read by the helpers that join.
    Job job_;
    std::atomic<std::int32_t> nextChunk_ = 0;
    // One per job posted; helpers wait for it to move.
    std::atomic<std::uint32_t> generation_ = 0;
    // Helpers that may still join the job; negative once the caller has closed it.
    std::atomic<std::int32_t> seats_ = 0;
    // Helpers between trying to join and leaving; the caller returns when none is left.
    std::atomic<std::int32_t> busyHelpers_ = 0;
    std::atomic<bool> stopping_ = false;
    Doorbell jobPosted_;
    Doorbell helpersLeft_;
    std::mutex failureMutex_;
    std::exception_ptr failure_;
};

}  // namespace tavrin21
