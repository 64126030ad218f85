#include "stats/deviate_factors.h"

#include <limits>

namespace tavrin21 {
namespace {

constexpr double kDeviateNaN = std::numeric_limits<double>::quiet_NaN();

// The committed rows, {radius, cosine, sine} of each draw, split into the two arrays the draws
// use while compiling.
struct TableRow {
    double radius;
    double cosine;
    double sine;
};

constexpr std::array<TableRow, kDeviateDrawMax> kRows = {{
#include "stats/deviate_table.inc"
}};

constexpr auto kRadii = [] {
    std::array<double, kDeviateDrawMax> radii{};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        radii[i] = kRows[i].radius;
    }
    return radii;
}();

constexpr auto kAngles = [] {
    std::array<AngleFactors, kDeviateDrawMax> angles{};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        angles[i] = {kRows[i].cosine, kRows[i].sine};
    }
    return angles;
}();

}  // namespace

const std::array<double, kDeviateDrawMax>& DeviateRadii() {
    return kRadii;
}

const std::array<AngleFactors, kDeviateDrawMax>& DeviateAngles() {
    return kAngles;
}

}  // namespace tavrin21
