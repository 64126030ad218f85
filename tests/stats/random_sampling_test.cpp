#include "stats/random_sampling.h"

#include "tests/support/vectors.h"

#include <cmath>
#include <cstdlib>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

using test::BitsOf;
using test::DoubleFromBits;

TEST(DrawRandom, ReproducesTheReferenceSequences) {
    const auto vectors = test::LoadVectors("random.json");
    int checked = 0;
    for (const auto& sequence : vectors["sequences"]) {
        const auto seed = sequence["seed"].get<std::uint32_t>();
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        SeedRandom(seed);
        for (const auto& expected : sequence["rand"]) {
            EXPECT_EQ(DrawRandom(), expected.get<int>());
            ++checked;
        }
        SeedRandom(seed);
        const RandomGenerator generator;
        for (const auto& expected : sequence["uniform_int_1_10000"]) {
            EXPECT_EQ(generator.UniformInt(1, 10000), expected.get<int>());
        }
    }
    EXPECT_EQ(checked, 80);
}

TEST(DrawRandom, IsNotDisturbedByTheProcessWideGenerator) {
    SeedRandom(1);
    EXPECT_EQ(DrawRandom(), 41);
    std::srand(99);
    static_cast<void>(std::rand());
    EXPECT_EQ(DrawRandom(), 18467);
    EXPECT_EQ(DrawRandom(), 6334);
}

TEST(UniformIntOfDraw, MapsTheEndsOfTheDrawRange) {
    struct Row {
        int draw;
        int expected;
    };
    const Row rows[] = {{0, 1}, {1, 1}, {32765, 10000}, {32766, 10001}, {32767, 10001}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "r = " << row.draw);
        EXPECT_EQ(UniformIntOfDraw(row.draw, 1, 10000), row.expected);
    }
    EXPECT_EQ(UniformIntOfDraw(0, -5, 5), -4);  // truncation toward zero: -4.5 -> -4
    EXPECT_EQ(UniformIntOfDraw(32767, -5, 5), 6);
}

TEST(GaussianDeviate, MatchesTheReferenceDeviatesBitForBit) {
    const auto vectors = test::LoadVectors("random.json");
    const RandomGenerator generator;
    for (const auto& sequence : vectors["sequences"]) {
        SCOPED_TRACE(testing::Message() << "seed " << sequence["seed"]);
        SeedRandom(sequence["seed"].get<std::uint32_t>());
        bool makeFreshPair = true;
        int index = 0;
        for (const auto& expected : sequence["gaussian_deviates"]) {
            const double deviate = GaussianDeviate(generator, makeFreshPair);
            EXPECT_EQ(BitsOf(deviate), BitsOf(DoubleFromBits(expected["bits"])))
                << "deviate " << index << " = " << deviate << ", expected " << expected["value"];
            ++index;
        }
    }
}

TEST(GaussianDeviate, HandsOutCosineThenSineOfOnePair) {
    const RandomGenerator generator;
    SeedRandom(1234567891);
    bool makeFreshPair = true;
    static_cast<void>(GaussianDeviate(generator, makeFreshPair));
    EXPECT_FALSE(makeFreshPair);
    const double sine = GaussianDeviate(generator, makeFreshPair);
    EXPECT_TRUE(makeFreshPair);

    // The pair used the first two draws only: the sine came from the cache.
    EXPECT_EQ(DrawRandom(), 27768);

    // A flag left clear by the caller returns the cached sine again without drawing.
    makeFreshPair = false;
    EXPECT_EQ(BitsOf(GaussianDeviate(generator, makeFreshPair)), BitsOf(sine));
    EXPECT_EQ(DrawRandom(), 10762);
}

TEST(GaussianDeviate, FirstPairWithTheTopDrawIsNotANumber) {
    const auto vectors = test::LoadVectors("random.json");
    const RandomGenerator generator;
    for (const auto& sequence : vectors["sequences"]) {
        if (!sequence.contains("first_pair_with_u1_1.0001")) {
            continue;
        }
        SCOPED_TRACE(testing::Message() << "seed " << sequence["seed"]);
        SeedRandom(sequence["seed"].get<std::uint32_t>());
        bool makeFreshPair = true;
        int pair = 0;
        double cosine = 0.0;
        do {
            ++pair;
            cosine = GaussianDeviate(generator, makeFreshPair);
            const double sine = GaussianDeviate(generator, makeFreshPair);
            EXPECT_EQ(std::isnan(cosine), std::isnan(sine));
        } while (!std::isnan(cosine) && pair < 1000000);
        EXPECT_EQ(pair, sequence["first_pair_with_u1_1.0001"].get<int>());
    }
}

}  // namespace
}  // namespace tavrin21
