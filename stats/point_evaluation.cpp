#include "stats/point_evaluation.h"

#include "framework/platform/module_thread.h"
#include "framework/platform/usable_processors.h"
#include "stats/attempts_ahead.h"
#include "stats/evaluation_pool.h"

#include <algorithm>
#include <mutex>
#include <utility>

namespace tavrin21 {
namespace {

// Where a module's threads must end before it can unload, how long an evaluation thread waits
// for work before it ends: far longer than the gap between two fits of a host's batch, so that
// a batch starts its threads once and not once a fit, and short enough that a module its host
// has unloaded goes soon after. Starting the threads again costs far less than the fit that
// needs them.
constexpr std::chrono::milliseconds kIdleThreadLifetime{1000};

// The module's pool. A plain pointer, not an object with a destructor: the threads are stopped
// by an explicit call, never by whatever runs the destructors of static objects at unload.
std::mutex modulePoolMutex;
EvaluationPool* modulePool = nullptr;
// Chunks of attempts the pool's threads make ahead of a drawing; beside the pool, under its
// mutex, kept from one drawing to the next for its buffers. Helpers touch it only within a job.
AttemptsAhead* moduleAttemptsAhead = nullptr;

// The module's pool, started on first use; with modulePoolMutex held.
EvaluationPool& ModulePool() {
    if (modulePool == nullptr) {
        modulePool = new EvaluationPool(
            framework::ModuleThreadsEndBeforeUnload() ? kIdleThreadLifetime : Doorbell::kForever);
    }
    return *modulePool;
}

}  // namespace

std::int32_t MachineEvaluationThreads() {
    // Asked once: every estimator is built with it, and the answer reads system files.
    static const auto threads = static_cast<std::int32_t>(
        std::min(framework::UsableProcessors(), static_cast<int>(kMaxEvaluationThreads)));
    return threads;
}

std::int32_t ThreadsForWork(std::int64_t terms, std::int32_t maxThreads) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(terms / kMinTermsPerThread, 1, std::max(maxThreads, 1)));
}

std::chrono::nanoseconds EvaluatePoints(const BatchObjective& objective,
                                        const double* const* points,
                                        std::int32_t count,
                                        double* values,
                                        std::int32_t threads) {
    if (threads <= 1 || count <= 1) {
        objective(points, count, values);
        return {};
    }
    std::lock_guard lock(modulePoolMutex);
    return ModulePool().Evaluate(objective, points, count, values, threads);
}

EvaluationWhileDrawing::EvaluationWhileDrawing(const BatchObjective& objective,
                                               const double* const* points,
                                               std::int32_t capacity,
                                               double* values,
                                               std::int32_t threads)
    : objective_(objective), points_(points), values_(values) {
    if (threads <= 1 || capacity <= 1) {
        return;
    }
    poolLock_ = std::unique_lock(modulePoolMutex);
    pool_ = &ModulePool();
    if (moduleAttemptsAhead == nullptr) {
        moduleAttemptsAhead = new AttemptsAhead;
    }
    ahead_ = moduleAttemptsAhead;
    ahead_->Stop();  // until this drawing starts it: the last one may have ended by throwing
    pool_->Open(objective, points, capacity, values, threads, ahead_);
}

EvaluationWhileDrawing::~EvaluationWhileDrawing() {
    if (pool_ != nullptr && !finished_) {
        try {
            pool_->Close(0);
        } catch (...) {
            // The objective's failure on a point drawn before the drawing failed: the drawing's
            // own failure is the one on its way.
        }
    }
}

void EvaluationWhileDrawing::Drawn(std::int32_t points) {
    if (pool_ != nullptr) {
        pool_->Offer(points);
    }
}

std::chrono::nanoseconds EvaluationWhileDrawing::Finish(std::int32_t count) {
    finished_ = true;
    if (pool_ == nullptr) {
        objective_(points_, count, values_);
        return {};
    }
    return pool_->Close(count) + ahead_->TakeWaited();
}

void StopEvaluationThreads() {
    std::lock_guard lock(modulePoolMutex);
    EvaluationPool* pool = std::exchange(modulePool, nullptr);
    // No job is open: no helper looks at the chunks.
    delete std::exchange(moduleAttemptsAhead, nullptr);
    if (pool == nullptr) {
        return;
    }
    if (framework::ModuleThreadsEndBeforeUnload()) {
        // Called at unload inside the loader's lock, where nothing may wait for a thread. None
        // is left to wait for anyway: at FreeLibrary each held the module until it had ended,
        // and at process exit the system has ended them already.
        pool->Release();
    } else {
        pool->JoinHelpersAndRelease();
    }
}

std::int32_t RunningEvaluationThreads() {
    std::lock_guard lock(modulePoolMutex);
    return modulePool == nullptr ? 0 : modulePool->HelperCount();
}

}  // namespace tavrin21
