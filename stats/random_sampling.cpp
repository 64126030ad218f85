#include "stats/random_sampling.h"

#include "stats/deviate_factors.h"
#include "stats/wide_vectors.h"

#include <algorithm>
#include <bit>

namespace tavrin21 {
namespace {

constexpr std::uint32_t kMultiplier = 214013u;
constexpr std::uint32_t kIncrement = 2531011u;

// A C runtime's generator starts as if seeded with 1.
std::uint32_t generatorState = 1;

struct DeviatePair {
    double cosine = 0.0;
    double sine = 0.0;
};
DeviatePair lastPair;

int DrawOfState(std::uint32_t state) {
    return static_cast<int>((state >> 16) & kRandomMax);
}

inline int UniformIntOf(int r, int lo, int hi) {
    const double x = r * 3.051850947599719e-05 * (hi - lo + 1) + lo + 0.5;
    return static_cast<int>(x);
}

// The generator after `steps` steps is state x multiplier + increment.
struct Jump {
    std::uint32_t multiplier;
    std::uint32_t increment;
};

constexpr Jump JumpOf(int steps) {
    Jump jump{1u, 0u};
    for (int i = 0; i < steps; ++i) {
        jump = {jump.multiplier * kMultiplier, jump.increment * kMultiplier + kIncrement};
    }
    return jump;
}

// The state `steps` steps after `state`, by squaring the one-step jump: a few dozen
// multiplications however far.
std::uint32_t StateAfter(std::uint32_t state, std::int64_t steps) {
    Jump power{kMultiplier, kIncrement};  // 2^bit steps
    for (; steps > 0; steps >>= 1) {
        if ((steps & 1) != 0) {
            state = state * power.multiplier + power.increment;
        }
        power = {power.multiplier * power.multiplier,
                 power.increment * power.multiplier + power.increment};
    }
    return state;
}

// The states of a block are made by kLanes interleaved chains, each jumping kLanes steps at a
// time, so that no step waits for the multiplication before it.
constexpr std::int32_t kLanes = 8;
constexpr Jump kLaneJump = JumpOf(kLanes);
constexpr std::int32_t kChunkPairs = 256;  // the scratch of one pass stays in the first-level cache
constexpr std::int32_t kBlockPairs = 1024;  // made at least per refill

// The pairs that GaussianDeviate would make from the next 2 x count steps after `state`.
TAVRIN21_WIDE_VECTORS void MakePairs(std::uint32_t state,
                                     std::int32_t count,
                                     double* deviates,
                                     std::uint32_t* stateAfter) {
    const double* radii = DeviateRadii().data();
    const AngleFactors* angles = DeviateAngles().data();
    std::uint32_t states[2 * kChunkPairs];
    std::int32_t index[2 * kChunkPairs];
    for (std::int32_t first = 0; first < count; first += kChunkPairs) {
        const std::int32_t pairs = std::min(kChunkPairs, count - first);
        const std::int32_t steps = 2 * pairs;
        for (std::int32_t i = 0; i < std::min(kLanes, steps); ++i) {
            state = state * kMultiplier + kIncrement;
            states[i] = state;
        }
        for (std::int32_t i = kLanes; i < steps; ++i) {
            states[i] = states[i - kLanes] * kLaneJump.multiplier + kLaneJump.increment;
        }
        state = states[steps - 1];
        for (std::int32_t i = 0; i < steps; ++i) {
            index[i] = UniformIntOf(DrawOfState(states[i]), 1, 10000) - kDeviateDrawMin;
        }
        for (std::int32_t p = 0; p < pairs; ++p) {
            const double radius = radii[index[2 * p]];
            const AngleFactors& angle = angles[index[2 * p + 1]];
            deviates[2 * (first + p)] = radius * angle.cosine;
            deviates[2 * (first + p) + 1] = radius * angle.sine;
            stateAfter[first + p] = states[2 * p + 1];
        }
    }
}

}  // namespace

void SeedRandom(std::uint32_t seed) {
    generatorState = seed;
}

int DrawRandom() {
    generatorState = generatorState * kMultiplier + kIncrement;
    return DrawOfState(generatorState);
}

int UniformIntOfDraw(int r, int lo, int hi) {
    return UniformIntOf(r, lo, hi);
}

RandomGenerator::~RandomGenerator() = default;

int RandomGenerator::UniformInt(int lo, int hi) const {
    return UniformIntOfDraw(DrawRandom(), lo, hi);
}

double GaussianDeviate(const RandomGenerator& generator, bool& makeFreshPair) {
    if (!makeFreshPair) {
        makeFreshPair = true;
        return lastPair.sine;
    }
    // UniformInt(1, 10000) is 1 ... 10001 for every draw, so both indices stay in the table.
    const double radius = DeviateRadii()[generator.UniformInt(1, 10000) - kDeviateDrawMin];
    const AngleFactors& angle = DeviateAngles()[generator.UniformInt(1, 10000) - kDeviateDrawMin];
    lastPair.cosine = radius * angle.cosine;
    lastPair.sine = radius * angle.sine;
    makeFreshPair = false;
    return lastPair.cosine;
}

DeviateStream::DeviateStream(bool makeFreshPair) {
    Restart(makeFreshPair);
}

DeviateStream::~DeviateStream() {
    if (unpublished_) {
        Publish();
    }
}

const double* DeviateStream::Ready(std::int32_t count) {
    if (2 * pairs_ - next_ < count) {
        MakeReady(count);
    }
    return deviates_.data() + next_;
}

void MakeDeviatesAfter(const StreamPosition& from,
                       std::int64_t first,
                       std::int32_t count,
                       double* out) {
    std::int32_t written = 0;
    if (from.sineFirst && count > 0) {
        if (first == 0) {
            out[written++] = from.sine;
        } else {
            --first;
        }
    }
    // The fresh deviates wanted start at `first`: whole pairs are made where they go, a pair
    // only half wanted (at either end) beside.
    std::uint32_t state = StateAfter(from.state, first / 2 * 2);
    double pair[2];
    std::uint32_t after[kChunkPairs];
    if (first % 2 == 1 && written < count) {
        MakePairs(state, 1, pair, after);
        state = after[0];
        out[written++] = pair[1];
    }
    while (count - written >= 2) {
        const std::int32_t pairs = std::min(kChunkPairs, (count - written) / 2);
        MakePairs(state, pairs, out + written, after);
        state = after[pairs - 1];
        written += 2 * pairs;
    }
    if (written < count) {
        MakePairs(state, 1, pair, after);
        out[written] = pair[0];
    }
}

StreamPosition DeviateStream::Position() const {
    const Anchor taken = LastTaken();
    const bool sineFirst = next_ % 2 == 1;
    return {taken.generatorState, sineFirst, sineFirst ? deviates_[next_] : 0.0};
}

void DeviateStream::Skip(std::int64_t count) {
    if (count <= 2 * pairs_ - next_) {
        Take(static_cast<std::int32_t>(count));
        return;
    }
    const StreamPosition from = Position();
    const std::int64_t fresh = count - (from.sineFirst ? 1 : 0);  // at least 1 here
    // The stream keeps only the pair holding the last deviate taken: whole when that is its
    // sine, with its cosine taken otherwise. With next_ above 0 the anchor before the buffer is
    // never read, until MakeReady moves it.
    const std::int64_t lastPair = (fresh - 1) / 2;
    deviates_.resize(std::max<std::size_t>(deviates_.size(), 2));
    stateAfter_.resize(std::max<std::size_t>(stateAfter_.size(), 1));
    MakePairs(StateAfter(from.state, 2 * lastPair), 1, deviates_.data(), stateAfter_.data());
    pairs_ = 1;
    next_ = fresh % 2 == 0 ? 2 : 1;
    unpublished_ = true;
}

void DeviateStream::Publish() {
    unpublished_ = false;
    const Anchor taken = LastTaken();
    generatorState = taken.generatorState;
    lastPair = {taken.cosine, taken.sine};
}

void DeviateStream::Resume() {
    const Anchor taken = LastTaken();
    const bool untouched =
        generatorState == taken.generatorState &&
        std::bit_cast<std::uint64_t>(lastPair.cosine) ==
            std::bit_cast<std::uint64_t>(taken.cosine) &&
        std::bit_cast<std::uint64_t>(lastPair.sine) == std::bit_cast<std::uint64_t>(taken.sine);
    if (!untouched) {
        Restart(next_ % 2 == 0);
    }
}

void DeviateStream::Restart(bool makeFreshPair) {
    beforeFirstPair_ = {generatorState, lastPair.cosine, lastPair.sine};
    pairs_ = 0;
    next_ = 0;
    if (makeFreshPair) {
        return;
    }
    // The cached pair heads the stream with its cosine taken: its sine comes first.
    deviates_.resize(std::max<std::size_t>(deviates_.size(), 2));
    stateAfter_.resize(std::max<std::size_t>(stateAfter_.size(), 1));
    deviates_[0] = lastPair.cosine;
    deviates_[1] = lastPair.sine;
    stateAfter_[0] = generatorState;
    pairs_ = 1;
    next_ = 1;
}

DeviateStream::Anchor DeviateStream::LastTaken() const {
    if (next_ == 0) {
        return beforeFirstPair_;
    }
    const std::int32_t pair = (next_ - 1) / 2;
    return {stateAfter_[pair], deviates_[2 * pair], deviates_[2 * pair + 1]};
}

void DeviateStream::MakeReady(std::int32_t count) {
    // Pairs taken whole go; a pair half taken stays at the front.
    const std::int32_t firstKept = next_ / 2;
    if (firstKept > 0) {
        beforeFirstPair_ = {stateAfter_[firstKept - 1], deviates_[2 * firstKept - 2],
                            deviates_[2 * firstKept - 1]};
        std::copy(deviates_.begin() + 2 * firstKept, deviates_.begin() + 2 * pairs_,
                  deviates_.begin());
        std::copy(stateAfter_.begin() + firstKept, stateAfter_.begin() + pairs_,
                  stateAfter_.begin());
        pairs_ -= firstKept;
        next_ -= 2 * firstKept;
    }
    const std::int32_t missing = count - (2 * pairs_ - next_);
    const std::int32_t newPairs = std::max(kBlockPairs, (missing + 1) / 2);
    const auto size = static_cast<std::size_t>(pairs_ + newPairs);
    if (stateAfter_.size() < size) {
        deviates_.resize(2 * size);
        stateAfter_.resize(size);
    }
    const std::uint32_t state =
        pairs_ == 0 ? beforeFirstPair_.generatorState : stateAfter_[pairs_ - 1];
    MakePairs(state, newPairs, deviates_.data() + 2 * pairs_, stateAfter_.data() + pairs_);
    pairs_ += newPairs;
}

}  // namespace tavrin21
