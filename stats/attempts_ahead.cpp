#include "stats/attempts_ahead.h"

#include <algorithm>
#include <thread>

namespace tavrin21 {
namespace {

// Looks at a chunk being made this often before yielding the processor, in case its maker was
// preempted on this one; a chunk takes about a microsecond.
constexpr std::int32_t kLooksBeforeYield = 4096;
// Looks between two readings of the clock.
constexpr std::int32_t kLooksPerClockRead = 64;
// Deviates of a chunk of attempts kept on the stack up to this dimension.
constexpr std::int32_t kStackDimension = 4;

}  // namespace

void AttemptsAhead::Start(const BoxedLaw& law, const StreamPosition& from) {
    law_ = law;
    from_ = from;
    const auto room = static_cast<std::size_t>(kAttemptChunk) * law.dimension;
    for (Slot& slot : slots_) {
        slot.made.store(-1, std::memory_order_relaxed);
        slot.attempts.points.resize(room);
    }
    own_.points.resize(room);
    nextUnclaimed_.store(0, std::memory_order_relaxed);
    claimEnd_.store(0, std::memory_order_relaxed);
    givenUpCount_ = 0;  // the helpers that had them have finished the last drawing
}

const InsideAttempts& AttemptsAhead::Take(std::int64_t chunk, std::int64_t wantedAfter) {
    claimEnd_.store(ClaimEnd(chunk, wantedAfter), std::memory_order_release);
    std::int64_t unclaimed = chunk;
    if (nextUnclaimed_.compare_exchange_strong(unclaimed, chunk + 1, std::memory_order_relaxed)) {
        Make(chunk, own_);
        return own_;
    }
    return HelpersChunk(chunk);
}

std::int64_t AttemptsAhead::ClaimEnd(std::int64_t chunk, std::int64_t wantedAfter) {
    // A slot whose chunk was given up stays out of use until its maker has finished writing it.
    std::int64_t claimEnd = chunk + 1 + std::clamp<std::int64_t>(wantedAfter, 0, kSlots - 1);
    std::int32_t stillWritten = 0;
    for (std::int32_t i = 0; i < givenUpCount_; ++i) {
        const std::int64_t givenUp = givenUp_[static_cast<std::size_t>(i)];
        if (slots_[static_cast<std::size_t>(givenUp % kSlots)].made.load(
                std::memory_order_acquire) != givenUp) {
            givenUp_[static_cast<std::size_t>(stillWritten++)] = givenUp;
            claimEnd = std::min(claimEnd, givenUp + kSlots);
        }
    }
    givenUpCount_ = stillWritten;
    return claimEnd;
}

const InsideAttempts& AttemptsAhead::HelpersChunk(std::int64_t chunk) {
    // A helper has it: until it is made, make the next ones, or wait once none is left to make.
    // A helper that keeps it past the patience is not running (the machine has no core for it):
    // the chunk is made here instead.
    Slot& slot = slots_[static_cast<std::size_t>(chunk % kSlots)];
    std::chrono::nanoseconds idle{};
    while (slot.made.load(std::memory_order_acquire) != chunk) {
        if (idle >= patience_) {
            givenUp_[static_cast<std::size_t>(givenUpCount_++)] = chunk;
            waited_ += idle;
            Make(chunk, own_);
            return own_;
        }
        if (DoSome()) {
            continue;
        }
        const auto start = std::chrono::steady_clock::now();
        for (std::int32_t look = 1;
             slot.made.load(std::memory_order_acquire) != chunk && !HasSome(); ++look) {
            if (look % kLooksBeforeYield == 0) {
                std::this_thread::yield();
            }
            if (look % kLooksPerClockRead == 0 &&
                idle + (std::chrono::steady_clock::now() - start) >= patience_) {
                break;
            }
        }
        idle += std::chrono::steady_clock::now() - start;
    }
    waited_ += idle;
    return slot.attempts;
}

void AttemptsAhead::Stop() {
    claimEnd_.store(0, std::memory_order_relaxed);
}

bool AttemptsAhead::DoSome() {
    // Loaded first: a claim end above 0 was stored by a Take, after the drawing's Start.
    const std::int64_t claimEnd = claimEnd_.load(std::memory_order_acquire);
    std::int64_t chunk = nextUnclaimed_.load(std::memory_order_relaxed);
    if (chunk >= claimEnd) {
        return false;
    }
    if (!nextUnclaimed_.compare_exchange_strong(chunk, chunk + 1, std::memory_order_relaxed)) {
        return true;  // another thread took it: look again
    }
    Slot& slot = slots_[static_cast<std::size_t>(chunk % kSlots)];
    Make(chunk, slot.attempts);
    slot.made.store(chunk, std::memory_order_release);
    return true;
}

bool AttemptsAhead::HasSome() const {
    return nextUnclaimed_.load(std::memory_order_relaxed) <
           claimEnd_.load(std::memory_order_relaxed);
}

void AttemptsAhead::Make(std::int64_t chunk, InsideAttempts& into) const {
    const std::int32_t count = kAttemptChunk * law_.dimension;
    double onStack[kAttemptChunk * kStackDimension];
    std::vector<double> onHeap(law_.dimension > kStackDimension ? count : 0);
    double* deviates = onHeap.empty() ? onStack : onHeap.data();
    MakeDeviatesAfter(from_, chunk * count, count, deviates);
    MakeInsideAttempts(law_, deviates, into);
}

}  // namespace tavrin21
