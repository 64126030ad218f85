#pragma once

// Threads that evaluate the points of an optimiser iteration together with the calling thread.
// They are started when a caller first asks for more than one thread. Between the iterations of
// a run they wait for the next job by spinning on a counter for a short while, so that handing a
// job over costs no system call; when no job comes (between fits) they sleep. A pool with an
// idle lifetime lets a helper that has slept that long without a job leave it and end; the next
// job starts helpers again. Helpers are framework::ModuleThreads: where a module's threads must
// end before it unloads, each holds the module until it has ended.
//
// The pool is held by its owner and by each of its helpers, and goes when the last lets go, so
// that an owner need not wait for helpers that are leaving.

#include "framework/platform/module_thread.h"
#include "stats/objective.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <vector>

namespace tavrin21 {

// A condition that one thread makes true and others wait for: first spinning for up to `spin`,
// then asleep for up to `sleep`. Ring after making the condition true.
class Doorbell {
  public:
    static constexpr std::chrono::milliseconds kForever = std::chrono::milliseconds::max();

    // False when the sleep ended with the condition still false.
    template <class Ready>
    bool Wait(const Ready& ready,
              std::chrono::microseconds spin,
              std::chrono::milliseconds sleep = kForever);
    void Ring();

  private:
    std::mutex mutex_;
    std::condition_variable rung_;
    std::atomic<std::int32_t> sleepers_ = 0;
};

// Work a helper of a job may do while the points it would evaluate are not ready yet.
class IdleWork {
  public:
    // Does a piece of the work if some is left; false when none was.
    virtual bool DoSome() = 0;
    // Whether DoSome would find work: cheap, for a helper waiting for points to look at.
    virtual bool HasSome() const = 0;

  protected:
    ~IdleWork() = default;
};

class EvaluationPool {
  public:
    // Made with new; its owner lets go with one of the two calls below, never with delete.
    // Without an idle lifetime (kForever) the helpers stay until the owner lets go.
    explicit EvaluationPool(std::chrono::milliseconds idleLifetime = Doorbell::kForever)
        : idleLifetime_(idleLifetime) {}
    EvaluationPool(const EvaluationPool&) = delete;
    EvaluationPool& operator=(const EvaluationPool&) = delete;

    // Wakes every helper, waits for each to end, and lets go.
    void JoinHelpersAndRelease();
    // Lets go, waiting for nothing and touching no lock: the helpers leave when their idle
    // lifetime is over, and the last to let go frees the pool. Helpers that the system has ended
    // (at process exit) never let go, and nothing waits for them.
    void Release() noexcept;

    // values[k] = objective(points[k]) for k < count, on the calling thread and up to
    // threads - 1 helpers, which are started when fewer exist. Each value depends on its own
    // point only, so any number of threads gives the same values. One caller at a time. An
    // exception thrown by the objective on any thread reaches the caller once all have finished.
    // Returns how long the caller, its own share done, waited for the helpers' last chunks.
    std::chrono::nanoseconds Evaluate(const BatchObjective& objective,
                                      const double* const* points,
                                      std::int32_t count,
                                      double* values,
                                      std::int32_t threads);

    // The same for points that are still being made when the job starts: Open hands the helpers
    // a job of at most `capacity` points, of which none is ready yet; Offer says that the points
    // below `ready` are final (the helpers evaluate them while the caller makes the next), but
    // wakes no helper that has gone to sleep, so that making points costs no system call;
    // Close says that `count` points were made in all, takes the calling thread's share of
    // those not yet evaluated and returns as Evaluate does. Every Open is followed by a Close,
    // which may throw what the objective threw. Helpers waiting for points do `idle` work, if
    // any, until the job is closed.
    void Open(const BatchObjective& objective,
              const double* const* points,
              std::int32_t capacity,
              double* values,
              std::int32_t threads,
              IdleWork* idle = nullptr);
    void Offer(std::int32_t ready);
    std::chrono::nanoseconds Close(std::int32_t count);

    std::int32_t HelperCount() const;

  private:
    struct Helper {
        EvaluationPool* pool;
        std::uint32_t firstJob;  // the generation when it was started: it waits for the next
        framework::ModuleThread thread;
    };

    struct Job {
        const BatchObjective* objective = nullptr;
        const double* const* points = nullptr;
        double* values = nullptr;
        std::int32_t capacity = 0;
        std::int32_t chunkSize = 1;
        IdleWork* idle = nullptr;
    };

    ~EvaluationPool() = default;
    void DropReference() noexcept;

    // With membersMutex_ held.
    void StartHelpers(std::int32_t wanted);
    static void HelperMain(void* helper) noexcept;
    // Takes part in every job posted after the helper started, until the pool stops or the
    // helper leaves it.
    void HelperLoop(Helper* self);
    // Takes the helper, idle since `lastJob`, out of the pool, unless a job was posted since or
    // the pool is stopping; true when it left (`self` is gone then).
    bool LeaveIfIdle(Helper* self, std::uint32_t lastJob);
    // Joins the posted job if a seat is left; false when none was.
    bool JoinJob();
    // Claims chunks of the job until none is left, each once its points are ready; records the
    // first exception.
    void EvaluateChunks(const Job& job) noexcept;
    // Waits until the points below `end` are ready or no more will be, doing the job's idle work
    // meanwhile; returns how many are.
    std::int32_t ReadyPoints(std::int32_t end, IdleWork* idle);

    const std::chrono::milliseconds idleLifetime_;
    // The owner and each started helper that has not yet let go.
    std::atomic<std::int32_t> references_ = 1;
    // Guards helpers_ and orders a helper's leaving against the posting of a job.
    mutable std::mutex membersMutex_;
    std::vector<std::unique_ptr<Helper>> helpers_;
    // Written by the caller while no helper can join, read by the helpers that join.
    Job job_;
    std::atomic<std::int32_t> nextChunk_ = 0;
    // Points of the job that are ready, with kAllReady added once no more will be.
    std::atomic<std::int32_t> readyPoints_ = 0;
    // One per job posted; helpers wait for it to move.
    std::atomic<std::uint32_t> generation_ = 0;
    // Helpers that may still join the job; negative once the caller has closed it.
    std::atomic<std::int32_t> seats_ = 0;
    // Helpers between trying to join and leaving; the caller returns when none is left.
    std::atomic<std::int32_t> busyHelpers_ = 0;
    std::atomic<bool> stopping_ = false;
    Doorbell jobPosted_;
    Doorbell pointsOffered_;
    Doorbell helpersLeft_;
    std::mutex failureMutex_;
    std::exception_ptr failure_;
};

}  // namespace tavrin21
