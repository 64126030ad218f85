#include "stats/random_sampling.h"

#include <cmath>

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
    const double u1 = generator.UniformInt(1, 10000) * 0.0001;
    const double u2 = generator.UniformInt(1, 10000) * 0.0001;
    const double radius = std::sqrt(-2.0 * std::log(u1));
    const double angle = 6.283 * u2;
    lastPair.cosine = radius * std::cos(angle);
    lastPair.sine = radius * std::sin(angle);
    makeFreshPair = false;
    return lastPair.cosine;
}

}  // namespace tavrin21
