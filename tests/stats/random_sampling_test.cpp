#include "stats/random_sampling.h"

#include "tests/support/vectors.h"

#include <cmath>
#include <cstdlib>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

using nlohmann::json;
using test::BitsOf;

const json& RandomVectors() {
    static const json vectors = test::LoadVectors("random.json");
    return vectors;
}

TEST(RandomSampling, ReferenceSequencesDeviatePairsAndSpotChecks) {
    const RandomGenerator generator;
    ASSERT_EQ(RandomVectors()["sequences"].size(), 2u);
    for (const json& sequence : RandomVectors()["sequences"]) {
        const auto seed = sequence["seed"].get<std::uint32_t>();
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        SeedRandom(seed);
        for (const json& expected : sequence["rand"]) {
            EXPECT_EQ(DrawRandom(), expected.get<int>());
        }
        SeedRandom(seed);
        for (const json& expected : sequence["uniform_int_1_10000"]) {
            EXPECT_EQ(generator.UniformInt(1, 10000), expected.get<int>());
        }
        SeedRandom(seed);
        bool makeFreshPair = true;
        for (const json& expected : sequence["gaussian_deviates"]) {
            EXPECT_EQ(BitsOf(GaussianDeviate(generator, makeFreshPair)),
                      BitsOf(test::DoubleFromBits(expected["bits"])))
                << "expected " << expected["value"];
        }

        // The two largest draws give a first uniform of 1.0001 and a pair that is not a number.
        SeedRandom(seed);
        makeFreshPair = true;
        int pair = 0;
        bool nan = false;
        while (!nan && pair < 1000000) {
            ++pair;
            nan = std::isnan(GaussianDeviate(generator, makeFreshPair));
            EXPECT_EQ(std::isnan(GaussianDeviate(generator, makeFreshPair)), nan);
        }
        EXPECT_EQ(pair, sequence["first_pair_with_u1_1.0001"].get<int>());

        // A pair takes the first two draws: cosine first, then the sine from the cache. The
        // host's rand() belongs to the host: using it must not move the module's sequence.
        SeedRandom(seed);
        makeFreshPair = true;
        static_cast<void>(GaussianDeviate(generator, makeFreshPair));
        EXPECT_FALSE(makeFreshPair);
        const double sine = GaussianDeviate(generator, makeFreshPair);
        EXPECT_TRUE(makeFreshPair);
        std::srand(99);
        static_cast<void>(std::rand());
        EXPECT_EQ(DrawRandom(), sequence["rand"][2].get<int>());
        // A flag the caller left clear hands out the cached sine again without drawing.
        makeFreshPair = false;
        EXPECT_EQ(BitsOf(GaussianDeviate(generator, makeFreshPair)), BitsOf(sine));
        EXPECT_EQ(DrawRandom(), sequence["rand"][3].get<int>());
    }
    // The spot checks include the two largest draws, which give hi + 1.
    for (const json& row : RandomVectors()["uniform_int_spot_checks"]) {
        SCOPED_TRACE(row.dump());
        EXPECT_EQ(UniformIntOfDraw(row["r"].get<int>(), row["lo"].get<int>(), row["hi"].get<int>()),
                  row["result"].get<int>());
    }
}

}  // namespace
}  // namespace tavrin21
