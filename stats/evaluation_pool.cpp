#include "stats/evaluation_pool.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace tavrin21 {
namespace {

// Chunks per thread: small enough that the caller seldom waits long for a helper's last chunk,
// large enough that claiming them costs nothing beside the evaluations.
constexpr std::int32_t kChunksPerThread = 8;
// Chunks hold a multiple of this many points, so that an objective that evaluates points side by
// side (eight at a time, the likelihood) is handed whole groups.
constexpr std::int32_t kChunkGrain = 8;

// How long a helper spins for the next job before it sleeps: longer than the draws and the
// bookkeeping between two iterations of a fit, short beside a fit. A spinning thread does not
// yield: on a busy machine the scheduler would then run it last, after every other task, and it
// would miss the jobs; a thread woken from sleep is run soon instead.
constexpr std::chrono::microseconds kHelperSpin{50};
// How long the caller spins for the helpers' last chunks before it sleeps.
constexpr std::chrono::microseconds kCallerSpin{50};
// Checks of the condition between two looks at the clock.
constexpr std::int32_t kChecksPerClockRead = 64;
constexpr std::int32_t kClosed = -(1 << 30);
// Added to the count of ready points once no more will come: more than any job holds.
constexpr std::int32_t kAllReady = 1 << 30;

}  // namespace

template <class Ready>
bool Doorbell::Wait(const Ready& ready,
                    std::chrono::microseconds spin,
                    std::chrono::milliseconds sleep) {
    const auto deadline = std::chrono::steady_clock::now() + spin;
    for (std::int32_t check = 1; !ready(); ++check) {
        if (check % kChecksPerClockRead == 0 && std::chrono::steady_clock::now() > deadline) {
            // Counted before the condition is looked at under the lock, so that a Ring after
            // making it true either sees a sleeper or was seen by that look.
            std::unique_lock lock(mutex_);
            sleepers_.fetch_add(1);
            bool isReady = true;
            if (sleep == kForever) {
                rung_.wait(lock, ready);
            } else {
                isReady = rung_.wait_for(lock, sleep, ready);
            }
            sleepers_.fetch_sub(1);
            return isReady;
        }
    }
    return true;
}

void Doorbell::Ring() {
    if (sleepers_.load() == 0) {
        return;
    }
    { std::lock_guard lock(mutex_); }
    rung_.notify_all();
}

void EvaluationPool::JoinHelpersAndRelease() {
    stopping_.store(true);
    jobPosted_.Ring();
    std::vector<std::unique_ptr<Helper>> helpers;
    {
        std::lock_guard lock(membersMutex_);
        helpers.swap(helpers_);
    }
    for (const std::unique_ptr<Helper>& helper : helpers) {
        helper->thread.Join();
    }
    DropReference();
}

void EvaluationPool::Release() noexcept {
    DropReference();
}

void EvaluationPool::DropReference() noexcept {
    if (references_.fetch_sub(1) == 1) {
        delete this;
    }
}

std::int32_t EvaluationPool::HelperCount() const {
    std::lock_guard lock(membersMutex_);
    return static_cast<std::int32_t>(helpers_.size());
}

std::chrono::nanoseconds EvaluationPool::Evaluate(const BatchObjective& objective,
                                                  const double* const* points,
                                                  std::int32_t count,
                                                  double* values,
                                                  std::int32_t threads) {
    if (count <= 0) {
        return {};
    }
    Open(objective, points, count, values, threads);
    return Close(count);
}

void EvaluationPool::Open(const BatchObjective& objective,
                          const double* const* points,
                          std::int32_t capacity,
                          double* values,
                          std::int32_t threads,
                          IdleWork* idle) {
    // Posted under the members' lock: a helper leaving either left before the seats were
    // counted or sees the job and stays for it.
    std::lock_guard lock(membersMutex_);
    StartHelpers(threads - 1);
    const std::int32_t seats =
        std::clamp(threads - 1, 0, static_cast<std::int32_t>(helpers_.size()));
    const std::int32_t chunks = (seats + 1) * kChunksPerThread;
    // The job is closed and no helper is busy: nobody reads job_ until the seats open.
    job_ = {&objective,
            points,
            values,
            std::max(capacity, 0),
            (std::max(1, capacity / chunks) + kChunkGrain - 1) / kChunkGrain * kChunkGrain,
            idle};
    nextChunk_.store(0, std::memory_order_relaxed);
    readyPoints_.store(0, std::memory_order_relaxed);
    seats_.store(seats);
    generation_.fetch_add(1);
    jobPosted_.Ring();
}

void EvaluationPool::Offer(std::int32_t ready) {
    readyPoints_.store(std::min(ready, job_.capacity), std::memory_order_release);
}

std::chrono::nanoseconds EvaluationPool::Close(std::int32_t count) {
    readyPoints_.store(std::clamp(count, 0, job_.capacity) + kAllReady, std::memory_order_release);
    pointsOffered_.Ring();
    EvaluateChunks(job_);

    // A helper that tries to join from now on finds the job closed; those that joined are
    // finishing their last chunk, and their values are visible once they have left.
    seats_.store(kClosed);
    const auto waitStart = std::chrono::steady_clock::now();
    helpersLeft_.Wait([this] { return busyHelpers_.load() == 0; }, kCallerSpin);
    const auto waited = std::chrono::steady_clock::now() - waitStart;
    std::lock_guard lock(failureMutex_);
    if (failure_ != nullptr) {
        std::rethrow_exception(std::exchange(failure_, nullptr));
    }
    return waited;
}

void EvaluationPool::StartHelpers(std::int32_t wanted) {
    if (static_cast<std::int32_t>(helpers_.size()) >= wanted) {
        return;
    }
    // Room made first: once a helper runs, nothing may fail before it is listed.
    helpers_.reserve(static_cast<std::size_t>(wanted));
    while (static_cast<std::int32_t>(helpers_.size()) < wanted) {
        // Started before the job is posted: the helper waits for the next generation.
        auto helper = std::make_unique<Helper>(Helper{this, generation_.load(), {}});
        references_.fetch_add(1);
        try {
            helper->thread =
                framework::ModuleThread::Start(&EvaluationPool::HelperMain, helper.get());
        } catch (const std::system_error&) {
            references_.fetch_sub(1);
            return;  // no more threads to be had: the calling thread takes their share
        }
        helpers_.push_back(std::move(helper));
    }
}

void EvaluationPool::HelperMain(void* helper) noexcept {
    EvaluationPool* pool = static_cast<Helper*>(helper)->pool;
    pool->HelperLoop(static_cast<Helper*>(helper));
    pool->DropReference();
}

void EvaluationPool::HelperLoop(Helper* self) {
    std::uint32_t lastJob = self->firstJob;
    for (;;) {
        const bool woken =
            jobPosted_.Wait([&] { return stopping_.load() || generation_.load() != lastJob; },
                            kHelperSpin, idleLifetime_);
        if (!woken && LeaveIfIdle(self, lastJob)) {
            return;
        }
        if (stopping_.load()) {
            return;
        }
        lastJob = generation_.load();
        busyHelpers_.fetch_add(1);
        if (JoinJob()) {
            EvaluateChunks(job_);
        }
        if (busyHelpers_.fetch_sub(1) == 1) {
            helpersLeft_.Ring();
        }
    }
}

bool EvaluationPool::LeaveIfIdle(Helper* self, std::uint32_t lastJob) {
    std::lock_guard lock(membersMutex_);
    // A stopping pool joins its helpers: they stay listed until then.
    if (stopping_.load() || generation_.load() != lastJob) {
        return false;
    }
    const auto listed = std::find_if(helpers_.begin(), helpers_.end(),
                                     [self](const auto& helper) { return helper.get() == self; });
    (*listed)->thread.Detach();
    helpers_.erase(listed);
    return true;
}

bool EvaluationPool::JoinJob() {
    // Counted busy before taking a seat: the caller, which closes the seats before it waits for
    // the busy count to fall to 0, can then never miss a helper that took one.
    return seats_.fetch_sub(1) > 0;
}

void EvaluationPool::EvaluateChunks(const Job& job) noexcept {
    try {
        for (;;) {
            const std::int32_t begin =
                nextChunk_.fetch_add(job.chunkSize, std::memory_order_relaxed);
            if (begin >= job.capacity) {
                return;
            }
            const std::int32_t end =
                std::min(ReadyPoints(std::min(begin + job.chunkSize, job.capacity), job.idle),
                         begin + job.chunkSize);
            if (begin >= end) {
                return;  // the points ran out before this chunk
            }
            (*job.objective)(job.points + begin, end - begin, job.values + begin);
        }
    } catch (...) {
        std::lock_guard lock(failureMutex_);
        if (failure_ == nullptr) {
            failure_ = std::current_exception();
        }
    }
}

std::int32_t EvaluationPool::ReadyPoints(std::int32_t end, IdleWork* idle) {
    std::int32_t ready = readyPoints_.load(std::memory_order_acquire);
    while (ready < end) {
        if (idle == nullptr || !idle->DoSome()) {
            pointsOffered_.Wait(
                [&] {
                    ready = readyPoints_.load(std::memory_order_acquire);
                    return ready >= end || (idle != nullptr && idle->HasSome());
                },
                kHelperSpin);
        }
        ready = readyPoints_.load(std::memory_order_acquire);
    }
    return ready >= kAllReady ? ready - kAllReady : ready;
}

}  // namespace tavrin21
