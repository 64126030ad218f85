#include "stats/evaluation_pool.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace tavrin21 {
namespace {

// Chunks per thread: small enough that the caller seldom waits long for a helper's last chunk,
// large enough that claiming them costs nothing beside the evaluations.
constexpr std::int32_t kChunksPerThread = 8;

}  // namespace

EvaluationPool::~EvaluationPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    jobPosted_.notify_all();
    for (std::thread& helper : helpers_) {
        helper.join();
    }
}

void EvaluationPool::Evaluate(const Objective& objective,
                              const double* const* points,
                              std::int32_t count,
                              double* values,
                              std::int32_t threads) {
    if (count <= 0) {
        return;
    }
    StartHelpers(threads - 1);
    const std::int32_t seats = std::clamp(threads - 1, 0, HelperCount());
    const std::int32_t chunkSize = std::max(1, count / ((seats + 1) * kChunksPerThread));
    const Job job{&objective, points, values, count, chunkSize};
    {
        std::lock_guard lock(mutex_);
        job_ = job;
        nextChunk_.store(0, std::memory_order_relaxed);
        seats_ = seats;
        jobOpen_ = true;
        failure_ = nullptr;
        ++generation_;
    }
    for (std::int32_t s = 0; s < seats; ++s) {
        jobPosted_.notify_one();
    }
    EvaluateChunks(job);

    // A helper that wakes from now on finds the job closed and sleeps again; those that joined
    // are finishing their last chunk, and their values are visible once they have left.
    std::unique_lock lock(mutex_);
    jobOpen_ = false;
    helpersLeft_.wait(lock, [this] { return activeHelpers_ == 0; });
    if (failure_ != nullptr) {
        std::rethrow_exception(std::exchange(failure_, nullptr));
    }
}

void EvaluationPool::StartHelpers(std::int32_t wanted) {
    while (HelperCount() < wanted) {
        try {
            helpers_.emplace_back(&EvaluationPool::HelperLoop, this);
        } catch (const std::system_error&) {
            return;  // no more threads to be had: the calling thread takes their share
        }
    }
}

void EvaluationPool::HelperLoop() {
    std::uint64_t lastJob = 0;
    std::unique_lock lock(mutex_);
    for (;;) {
        jobPosted_.wait(
            lock, [&] { return stopping_ || (jobOpen_ && seats_ > 0 && generation_ != lastJob); });
        if (stopping_) {
            return;
        }
        lastJob = generation_;
        --seats_;
        ++activeHelpers_;
        const Job job = job_;
        lock.unlock();
        EvaluateChunks(job);
        lock.lock();
        if (--activeHelpers_ == 0) {
            helpersLeft_.notify_one();
        }
    }
}

void EvaluationPool::EvaluateChunks(const Job& job) noexcept {
    try {
        for (;;) {
            const std::int32_t begin =
                nextChunk_.fetch_add(job.chunkSize, std::memory_order_relaxed);
            if (begin >= job.count) {
                return;
            }
            const std::int32_t end = std::min(begin + job.chunkSize, job.count);
            for (std::int32_t k = begin; k < end; ++k) {
                job.values[k] = (*job.objective)(job.points[k]);
            }
        }
    } catch (...) {
        std::lock_guard lock(mutex_);
        if (failure_ == nullptr) {
            failure_ = std::current_exception();
        }
    }
}

}  // namespace tavrin21
