#include "stats/random_sampling.h"

#include "stats/deviate_factors.h"

namespace tavrin21 {
namespace {

// A C runtime's generator starts as if seeded with 1.
std::uint32_t generatorState = 1;

struct DeviatePair {
    double cosine = 0.0;
    double sine = 0.0;
};
DeviatePair lastPair;

}  // namespace

void SeedRandom(std::uint32_t seed) {
    generatorState = seed;
}

int DrawRandom() {
    generatorState = generatorState * 214013u + 2531011u;
    return static_cast<int>((generatorState >> 16) & kRandomMax);
}

int UniformIntOfDraw(int r, int lo, int hi) {
    const double x = r * 3.051850947599719e-05 * (hi - lo + 1) + lo + 0.5;
    return static_cast<int>(x);
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
    const auto& table = DeviateTable();
    const double radius = table[generator.UniformInt(1, 10000) - kDeviateDrawMin].radius;
    const DeviateFactors& angle = table[generator.UniformInt(1, 10000) - kDeviateDrawMin];
    lastPair.cosine = radius * angle.cosine;
    lastPair.sine = radius * angle.sine;
    makeFreshPair = false;
    return lastPair.cosine;
}

}  // namespace tavrin21
