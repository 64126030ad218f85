#pragma once

// Chunks of draw attempts made by the threads of an evaluation ahead of the drawing thread,
// which takes them in order. Chunk c holds the attempts c x kAttemptChunk ... of a law, made
// from the deviates that follow a stream's position; deviates depend on that position only, so
// a chunk is the same whichever thread makes it. The drawing thread makes the next chunk itself
// unless a helper has it; helpers make the chunks after it, a bounded number ahead, while they
// have no points to evaluate: where most attempts fall outside the box (the first iterations of
// a fit) they would otherwise wait for points that come slowly.

#include "stats/box_draws.h"
#include "stats/evaluation_pool.h"
#include "stats/random_sampling.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <utility>

namespace tavrin21 {

class AttemptsAhead final : public IdleWork {
  public:
    // Chunks made ahead at most: room for every helper to be a few ahead.
    static constexpr std::int32_t kSlots = 16;
    // How long the drawing thread waits for a chunk that a helper is making before it makes the
    // chunk itself: many times what a chunk takes, far less than a time slice of the scheduler,
    // so that a helper the machine has no core for holds the drawing up only that long.
    static constexpr std::chrono::microseconds kPatience{20};

    explicit AttemptsAhead(std::chrono::nanoseconds patience = kPatience) : patience_(patience) {}

    // The drawing thread, before an evaluation's helpers may make chunks and after they have
    // finished the last drawing's: the law stays as it is until Stop.
    void Start(const BoxedLaw& law, const StreamPosition& from);
    // Chunk `chunk`, the one after the last taken (the first is 0); valid until the next Take.
    // Helpers make at most `wantedAfter` of the chunks after it (the drawing's estimate of how
    // many more it needs), and never more than kSlots - 1.
    const InsideAttempts& Take(std::int64_t chunk, std::int64_t wantedAfter);
    // No chunk is wanted any more; those under way are finished and dropped.
    void Stop();
    // How long Take has waited for chunks that helpers were making, since this was last asked.
    std::chrono::nanoseconds TakeWaited() { return std::exchange(waited_, {}); }

    bool DoSome() override;
    bool HasSome() const override;

  private:
    // Each on cache lines of its own, so that a thread looking at one is not slowed by writes to
    // another (assumed 64 bytes).
    struct alignas(64) Slot {
        std::atomic<std::int64_t> made{-1};  // the chunk it holds, once made
        alignas(64) InsideAttempts attempts;
    };

    // Where helpers' claims must end while the drawing takes `chunk`.
    std::int64_t ClaimEnd(std::int64_t chunk, std::int64_t wantedAfter);
    // The chunk a helper has claimed, once it is made, or made here if it takes too long.
    const InsideAttempts& HelpersChunk(std::int64_t chunk);
    void Make(std::int64_t chunk, InsideAttempts& into) const;

    const std::chrono::nanoseconds patience_;
    BoxedLaw law_{};
    StreamPosition from_{};
    std::array<Slot, kSlots> slots_;
    InsideAttempts own_;  // a chunk the drawing thread makes itself
    alignas(64) std::atomic<std::int64_t> nextUnclaimed_ = 0;
    // Helpers claim only chunks below it: none from Start to the first Take and after Stop. It
    // never passes the chunk last taken + kSlots, nor a chunk given up + kSlots: the chunks
    // before those are done with, and so are their slots.
    alignas(64) std::atomic<std::int64_t> claimEnd_ = 0;
    std::chrono::nanoseconds waited_{};
    // Chunks the drawing thread made itself while a helper had them, whose slots that helper may
    // still be writing: at most kSlots, as their slots keep the claims within kSlots of them.
    std::array<std::int64_t, kSlots> givenUp_{};
    std::int32_t givenUpCount_ = 0;
};

}  // namespace tavrin21
