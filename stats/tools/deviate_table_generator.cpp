// Writes the table of normal-deviate factors (stats/deviate_table.inc) to standard output: one
// line per draw k = 1 ... 10001 with its radius, cosine and sine as hexadecimal doubles, exact
// to the bit. The committed table was made on x86-64 glibc with FMA, as the test vectors were;
// run it elsewhere only to compare, never to replace the table.
//
//   deviate_table_generator > stats/deviate_table.inc

#include "stats/deviate_factors.h"

#include <cmath>
#include <cstdio>

namespace {

// "%a" is exact; a NaN (the radius of k = 10001) is written as a name the including file defines.
void PrintDouble(double value) {
    if (std::isnan(value)) {
        std::printf("%s", std::signbit(value) ? "-kDeviateNaN" : "kDeviateNaN");
        return;
    }
    std::printf("%a", value);
}

}  // namespace

int main() {
    std::printf("// Made by stats/tools/deviate_table_generator.cpp; do not edit.\n");
    std::printf("// {radius, cosine, sine} of the draws k = 1 ... %d.\n",
                tavrin21::kDeviateDrawMax);
    for (std::int32_t k = tavrin21::kDeviateDrawMin; k <= tavrin21::kDeviateDrawMax; ++k) {
        const double angle = tavrin21::DeviateAngle(k);
        std::printf("{");
        PrintDouble(tavrin21::DeviateRadius(k));
        std::printf(", ");
        PrintDouble(std::cos(angle));
        std::printf(", ");
        PrintDouble(std::sin(angle));
        std::printf("},\n");
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
