#pragma once

// The module's own 15-bit generator and the normal deviates made from it. The generator is the
// classic one of the 32-bit Windows C runtime, so every platform draws the same sequence; it is
// kept here rather than in the process-wide rand(), which belongs to the host. The generator
// state and the cache of the second deviate are module-wide: one draw sequence at a time.

#include <cstdint>
#include <vector>

namespace tavrin21 {

inline constexpr int kRandomMax = 0x7FFF;

// Restarts the sequence: the same seed gives the same draws.
void SeedRandom(std::uint32_t seed);

// The next draw, 0 ... kRandomMax.
int DrawRandom();

// The integer that UniformInt makes of the draw `r`: trunc(r / 32767 * (hi - lo + 1) + lo + 0.5).
// The two largest draws give hi + 1; callers that need [lo, hi] must allow for it.
int UniformIntOfDraw(int r, int lo, int hi);

// The optimiser's source of uniform integers; it holds nothing that affects a draw.
class RandomGenerator {
  public:
    RandomGenerator() = default;
    RandomGenerator(const RandomGenerator&) = default;
    RandomGenerator& operator=(const RandomGenerator&) = default;
    virtual ~RandomGenerator();

    // One draw mapped onto lo ... hi + 1 (see UniformIntOfDraw).
    int UniformInt(int lo, int hi) const;
};

// One standard normal deviate by the Box-Muller transform. With `makeFreshPair` set it draws a
// pair (two uniform draws on a 1e-4 grid, the first giving the radius), caches both deviates,
// clears the flag and returns the cosine deviate; otherwise it sets the flag and returns the
// cached sine deviate. The angle factor is 6.283, not 2 pi. The cache is module-wide, the flag
// belongs to the caller. The factors come from a fixed table (stats/deviate_factors.h), so the
// deviates are the same with every C library. A first uniform of 1.0001 (the two largest draws)
// makes the pair NaN; callers reject such deviates.
double GaussianDeviate(const RandomGenerator& generator, bool& makeFreshPair);

// Where a stream stands: the deviates after it are the sine of a pair half taken, if one is,
// then those of the pairs that the generator makes from `state` on.
struct StreamPosition {
    std::uint32_t state;
    bool sineFirst;
    double sine;
};

// Writes the deviates first ... first + count - 1 of those after `from` (0 the next one), as the
// stream would hand them out, making only the pairs that hold them; any thread may call it.
void MakeDeviatesAfter(const StreamPosition& from,
                       std::int64_t first,
                       std::int32_t count,
                       double* out);

// The deviates that calls of GaussianDeviate with one flag would hand out from now on, made
// ahead in blocks of pairs by tight loops rather than a pair at a time. The module-wide generator
// and deviate cache are left behind meanwhile: Publish puts them where those calls would have
// left them after the deviates taken so far, and it must come before anything else can look at
// them. Resume continues after others may have drawn or seeded since Publish, exactly as those
// calls would have. One stream at a time, like the calls it stands for.
class DeviateStream {
  public:
    // Continues from the module-wide state as it is now; makeFreshPair as GaussianDeviate's flag.
    explicit DeviateStream(bool makeFreshPair = true);
    DeviateStream(const DeviateStream&) = delete;
    DeviateStream& operator=(const DeviateStream&) = delete;
    // Publishes what was taken since the last Publish, if anything was: a stream given up while
    // others drew (an objective that threw) leaves their draws in place.
    ~DeviateStream();

    // The next `count` deviates, made first where fewer are ready; valid until the next call.
    const double* Ready(std::int32_t count);
    // Takes `count` of the deviates that Ready returned.
    void Take(std::int32_t count) {
        next_ += count;
        unpublished_ = true;
    }

    // Where the stream stands: the deviates after it are those Ready would give.
    StreamPosition Position() const;
    // Takes the next `count` deviates, making no more of them than the last pair.
    void Skip(std::int64_t count);

    void Publish();
    void Resume();

  private:
    struct Anchor {  // the module-wide state that the deviates ready continue
        std::uint32_t generatorState;
        double cosine;
        double sine;
    };

    void Restart(bool makeFreshPair);
    Anchor LastTaken() const;
    void MakeReady(std::int32_t count);

    // Pair p is deviates_[2p] (cosine) and deviates_[2p + 1] (sine), made by the generator
    // ending in stateAfter_[p]. next_ indexes deviates_; an odd next_ is a pair half taken.
    std::vector<double> deviates_;
    std::vector<std::uint32_t> stateAfter_;
    std::int32_t next_ = 0;
    std::int32_t pairs_ = 0;
    Anchor beforeFirstPair_{};  // the last pair taken before the buffer's first one
    bool unpublished_ = false;
};

}  // namespace tavrin21
