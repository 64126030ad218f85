#pragma once

// The factors of a normal deviate pair. Both uniforms of a pair are k x 0.0001 for a draw
// k = UniformInt(1, 10000), which the two largest raw draws make 10001: the radius comes from
// the first, the angle from the second, and cosine and sine deviates are radius x cos(angle) and
// radius x sin(angle). Only 10,001 values of k exist, so the factors are tabulated once
// (stats/deviate_table.inc, made by stats/tools/deviate_table_generator.cpp) rather than taken
// from the C library at every draw: its log, cos and sin differ in the last bit between
// libraries and even between processors, and the table fixes the values every fit has been
// checked against.

#include <array>
#include <cmath>
#include <cstdint>

namespace tavrin21 {

inline constexpr std::int32_t kDeviateDrawMin = 1;
inline constexpr std::int32_t kDeviateDrawMax = 10001;

// The definition the table was made from. k = 10001 gives a uniform of 1.0001, whose logarithm
// is positive: the radius is then not a number, and so is the pair.
inline double DeviateRadius(std::int32_t k) {
    const double u = k * 0.0001;
    return std::sqrt(-2.0 * std::log(u));
}
// The angle factor is 6.283, not 2 pi.
inline double DeviateAngle(std::int32_t k) {
    const double u = k * 0.0001;
    return 6.283 * u;
}

// The factors of k as the second uniform of a pair. A pair looks up its radius and its angle at
// two unrelated places, so radii and angles are kept in separate arrays: every cache line then
// carries only factors of the kind looked up, and one angle never straddles two lines.
struct alignas(16) AngleFactors {
    double cosine;
    double sine;
};

// Entry k - 1 holds the factors of the draw k, for k = 1 ... 10001.
const std::array<double, kDeviateDrawMax>& DeviateRadii();
const std::array<AngleFactors, kDeviateDrawMax>& DeviateAngles();

}  // namespace tavrin21
