#include "stats/point_evaluation.h"

#include "stats/evaluation_pool.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

namespace tavrin21 {
namespace {

// The module's pool. A plain pointer, not an object with a destructor: the threads are stopped
// by an explicit call, never by whatever runs the destructors of static objects at unload.
std::mutex modulePoolMutex;
EvaluationPool* modulePool = nullptr;
std::atomic<std::int32_t> evaluationThreadLimit = kMaxEvaluationThreads;

}  // namespace

std::int32_t MachineEvaluationThreads() {
    // Asked once: every estimator is built with it, and the answer costs a system call.
    static const std::int32_t threads = [] {
        const unsigned hardwareThreads = std::thread::hardware_concurrency();
        return hardwareThreads <= 1
                   ? 1
                   : static_cast<std::int32_t>(
                         std::min(hardwareThreads, static_cast<unsigned>(kMaxEvaluationThreads)));
    }();
    return std::min(threads, evaluationThreadLimit.load());
}

std::int32_t ThreadsForWork(std::int64_t terms, std::int32_t maxThreads) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(terms / kMinTermsPerThread, 1, std::max(maxThreads, 1)));
}

void LimitEvaluationThreads(std::int32_t limit) {
    evaluationThreadLimit = std::max(limit, 1);
}

std::chrono::nanoseconds EvaluatePoints(const Objective& objective,
                                        const double* const* points,
                                        std::int32_t count,
                                        double* values,
                                        std::int32_t threads) {
    if (threads <= 1 || count <= 1) {
        for (std::int32_t k = 0; k < count; ++k) {
            values[k] = objective(points[k]);
        }
        return {};
    }
    std::lock_guard lock(modulePoolMutex);
    if (modulePool == nullptr) {
        modulePool = new EvaluationPool;
    }
    return modulePool->Evaluate(objective, points, count, values, threads);
}

void StopEvaluationThreads() {
    std::lock_guard lock(modulePoolMutex);
    delete modulePool;
    modulePool = nullptr;
}

std::int32_t RunningEvaluationThreads() {
    std::lock_guard lock(modulePoolMutex);
    return modulePool == nullptr ? 0 : modulePool->HelperCount();
}

}  // namespace tavrin21
