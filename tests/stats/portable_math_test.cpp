// The portable pow and log: bit for bit glibc's generic (no fused multiply-add) code over the
// arguments a fit uses and the special cases, within 0.55 ulp of a 113-bit reference, and the
// fixed-base powers bit for bit the full pow.

#include "stats/portable_math.h"

#include "stats/fixed_base_powers.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <quadmath.h>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kTiny = std::numeric_limits<double>::denorm_min();
constexpr double kMax = std::numeric_limits<double>::max();

struct Arguments {
    std::vector<std::pair<double, double>> pow;
    std::vector<double> log;
};

// What a fit raises and takes logarithms of: times from 0.01 to 1e6 (half of them recorded to
// hundredths) to shapes in (0, 10]; 1/eta from 1e-8 to 1e3 to the same shapes, and the
// logarithms of all of these; the smoothing weights and the small-sample factors.
Arguments FitArguments(std::size_t count) {
    std::mt19937_64 engine(20261206);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Arguments args;
    for (std::size_t i = 0; i < count; ++i) {
        double time = 0.01 * std::exp(unit(engine) * std::log(1e8));
        time = i % 2 == 0 ? time : std::max(0.01, std::round(time * 100) / 100);
        const double shape = 10.0 * (1.0 - unit(engine));
        const double inverseScale = 1e-8 * std::exp(unit(engine) * std::log(1e11));
        args.pow.insert(args.pow.end(), {{time, shape}, {inverseScale, shape}});
        args.log.insert(args.log.end(),
                        {time, shape, portable::Pow(inverseScale, shape), inverseScale});
    }
    for (int t = 1; t <= 1000; ++t) {
        args.pow.emplace_back(1 - 1.0 / t, 5.0);
        const double r = (4.0 * t - 5) / (4.0 * t - 3);
        args.pow.insert(args.pow.end(), {{r, 0.5}, {portable::Pow(r, 0.5), 3.5}});
    }
    return args;
}

// Every special case of pow and log: zeros, subnormals, 1, negative bases with odd, even and
// non-integer exponents, infinities, NaN, exponents too small or too large to matter, and
// results that overflow or fall into the subnormal range.
Arguments EdgeArguments() {
    const double bases[] = {0.0,         kTiny, 0x1.8p-1060, 0x1p-1022, 0.5,  1 - 0x1p-53, 1.0,
                            1 + 0x1p-52, 2.0,   10.0,        1e300,     kMax, kInf,        kNaN};
    const double exponents[] = {0.0, 0x1p-70, 1e-20,  0x1p-65, 0.5,     1.0,    2.0,   3.0,
                                5.0, 10.5,    308.3,  323.5,   1023.99, 1024.0, 1074., 1075.,
                                1e6, 0x1p62,  0x1p63, 1e300,   kInf,    kNaN};
    Arguments args;
    for (const double x : bases) {
        for (const double y : exponents) {
            for (const double sx : {1.0, -1.0}) {
                args.pow.insert(args.pow.end(), {{sx * x, y}, {sx * x, -y}});
            }
        }
        args.log.insert(args.log.end(), {x, -x, 1 - 0x1p-4, 1 + 0x1.09p-4, 1 + 0x1.08p-4});
    }
    return args;
}

bool SameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) ||
           (std::isnan(a) && std::isnan(b));  // which NaN's payload survives is the compiler's
}

struct Differences {
    int count = 0;
    std::string firstFew;
};

// Where the portable functions and the C library's differ.
Differences CompareWithLibm(const Arguments& args) {
    Differences differences;
    const auto compare = [&](const char* what, double x, double y, double ours, double libm) {
        if (SameBits(ours, libm) || ++differences.count > 5) {
            return;
        }
        std::ostringstream text;
        text << what << "(" << std::hexfloat << x << ", " << y << ") = " << ours
             << ", the C library's " << libm << "\n";
        differences.firstFew += text.str();
    };
    for (const auto& [x, y] : args.pow) {
        compare("pow", x, y, portable::Pow(x, y), std::pow(x, y));
    }
    for (const double x : args.log) {
        compare("log", x, 0, portable::Log(x), std::log(x));
    }
    return differences;
}

// glibc runs its generic code when its processor features are masked (ctest does that for this
// test): then every result must be its. Without the mask glibc uses fused multiply-add, and
// how many results differ is only reported.
TEST(PortableMath, BitForBitGlibcWithoutFusedMultiplyAdd) {
    if (TAVRIN21_LIBM_IS_X86_64_GLIBC == 0) {
        GTEST_SKIP() << "the C library is not glibc on x86-64, whose generic code is the model";
    }
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    const bool masked =
        tunables != nullptr && std::string(tunables).find("-FMA") != std::string::npos;
    Arguments args = FitArguments(200000);
    const Arguments edges = EdgeArguments();
    args.pow.insert(args.pow.end(), edges.pow.begin(), edges.pow.end());
    args.log.insert(args.log.end(), edges.log.begin(), edges.log.end());
    const Differences differences = CompareWithLibm(args);
    if (!masked) {
        std::printf(
            "glibc's fused-multiply-add code differs from the portable functions for %d of "
            "%zu arguments, e.g.\n%s",
            differences.count, args.pow.size() + args.log.size(), differences.firstFew.c_str());
        return;
    }
    // An argument for which glibc's two codes differ: the mask must have taken effect.
    volatile double x = 0x1.d4fe820dc4151p-6, y = 0x1.6f59685122318p+2;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(std::pow(x, y)), 0x3e17d2e024c71276u)
        << "glibc still runs its fused-multiply-add code: GLIBC_TUNABLES=" << tunables;
    EXPECT_EQ(differences.count, 0) << differences.firstFew;
}

// Error in ulp of `value` against `exact`, the ulp taken at the double nearest `exact`.
double UlpError(double value, __float128 exact) {
    const int exponent = std::max(std::ilogb(static_cast<double>(exact)), -1022);
    return static_cast<double>(fabsq(value - exact) / std::ldexp(1.0, exponent - 52));
}

TEST(PortableMath, WithinBoundsOfA113BitReference) {
    const Arguments args = FitArguments(50000);
    double powError = 0.0, logError = 0.0;
    for (const auto& [x, y] : args.pow) {
        powError = std::max(powError, UlpError(portable::Pow(x, y), powq(x, y)));
    }
    for (const double x : args.log) {
        logError = std::max(logError, UlpError(portable::Log(x), logq(x)));
    }
    std::printf("largest error: pow %.4f ulp, log %.4f ulp\n", powError, logError);
    EXPECT_LT(powError, 0.55);
    EXPECT_LT(logError, 0.52);
}

// Over arrays, every element as one at a time: the fit's arguments and every special case mixed
// in one array, so that blocks with and without an element off the common path both occur.
TEST(PortableMath, OverArraysBitForBitOneAtATime) {
    Arguments args = FitArguments(500);
    const Arguments edges = EdgeArguments();
    for (std::size_t i = 0; i < edges.pow.size(); ++i) {
        args.pow.insert(args.pow.begin() + static_cast<std::ptrdiff_t>(i * 3), edges.pow[i]);
    }
    args.log.insert(args.log.begin() + 200, edges.log.begin(), edges.log.end());
    std::vector<double> x, y, out(args.pow.size());
    for (const auto& [base, exponent] : args.pow) {
        x.push_back(base);
        y.push_back(exponent);
    }
    portable::PowEach(x.data(), y.data(), x.size(), out.data());
    for (std::size_t i = 0; i < x.size(); ++i) {
        ASSERT_TRUE(SameBits(out[i], portable::Pow(x[i], y[i])))
            << std::hexfloat << x[i] << " ^ " << y[i];
    }
    out.resize(args.log.size());
    portable::LogEach(args.log.data(), args.log.size(), out.data());
    for (std::size_t i = 0; i < args.log.size(); ++i) {
        ASSERT_TRUE(SameBits(out[i], portable::Log(args.log[i]))) << std::hexfloat << args.log[i];
    }
}

// Bases and exponents of every path: the fit's, exponents too small or large for the common
// path, products whose exponential overflows or underflows, and sets with a base the common
// path cannot take (which send every base to the full pow). Exponents one at a time, and
// several side by side.
TEST(FixedBasePowers, BitForBitTheFullPow) {
    const Arguments fit = FitArguments(2000);
    std::vector<double> times, shapes;
    for (std::size_t i = 0; i < fit.pow.size(); i += 2) {
        times.push_back(fit.pow[i].first);
        shapes.push_back(fit.pow[i].second);
    }
    struct Row {
        const char* name;
        std::vector<double> bases;
        std::vector<double> exponents;
    };
    const std::vector<double> extremes = {0.0,   -0.0,   0x1p-70, -2.5, 80.0,
                                          200.0, -200.0, 1e300,   kInf, kNaN};
    const Row rows[] = {
        {"fit's times and shapes", times, shapes},
        {"fit's times, extreme exponents", times, extremes},
        {"1 and the range's ends", {1.0, 0x1p-1022, kMax, 0.01, 1e6}, extremes},
        {"a subnormal base", {3.0, kTiny, 0.5}, {2.5, -0.5, 1e-20}},
        {"zero, negative, infinite", {0.0, -2.0, kInf, kNaN, 7.0}, {3.0, -3.0, 0.5}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const FixedBasePowers powers(row.bases);
        constexpr std::size_t sides = FixedBasePowers::kSideBySide;
        const std::size_t n = row.bases.size();
        std::vector<double> computed(n), sideBySide(n * sides), exponents(sides);
        for (std::size_t e = 0; e < row.exponents.size(); ++e) {
            const double y = row.exponents[e];
            powers.Compute(y, 0, n, computed.data());
            for (std::size_t j = 0; j < sides; ++j) {
                exponents[j] = row.exponents[(e + j) % row.exponents.size()];
            }
            powers.ComputeSideBySide(exponents.data(), 0, n, sideBySide.data());
            for (std::size_t i = 0; i < n; ++i) {
                ASSERT_TRUE(SameBits(computed[i], portable::Pow(row.bases[i], y)))
                    << std::hexfloat << row.bases[i] << " ^ " << y;
                ASSERT_TRUE(SameBits(sideBySide[sides * i], computed[i]))
                    << std::hexfloat << row.bases[i] << " ^ " << y << " side by side";
            }
        }
    }
}

}  // namespace
}  // namespace tavrin21
