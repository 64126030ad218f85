#pragma once

// The module's own 15-bit generator and the normal deviates made from it. The generator is the
// classic one of the 32-bit Windows C runtime, so every platform draws the same sequence; it is
// kept here rather than in the process-wide rand(), which belongs to the host. The generator
// state and the cache of the second deviate are module-wide: one draw sequence at a time.

#include <cstdint>

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

}  // namespace tavrin21
