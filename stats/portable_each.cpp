// Pow and Log over arrays: the common path of each, for every element, in a loop without a
// branch, which the compiler vectorises (two elements an instruction with SSE2, four with AVX2,
// the same operations on each, so the same bits); then, only if an element was off that path,
// that element again with every case.

#include "stats/portable_math.h"
#include "stats/portable_math_kernels.h"
#include "stats/wide_vectors.h"

#include <algorithm>
#include <cstdint>

namespace tavrin21::portable {
namespace {

using detail::Bits;
using detail::FromBits;
using detail::kHalfMask;

// Elements per pass: the results are kept apart from the inputs until the pass is known to have
// stayed on the common path, so that out may alias x or y.
constexpr std::size_t kBlock = 64;

bool IsPowOrdinary(double x, double y) {
    if (!detail::IsOrdinaryBase(x) || !detail::IsOrdinaryExponent(y)) {
        return false;
    }
    const double log = detail::SplitForProduct(detail::PowLog(Bits(x))).hi;
    return detail::IsOrdinaryExpArgument(FromBits(Bits(y) & kHalfMask) * log);
}

bool IsLogOrdinary(double x) {
    return !detail::IsLogNearOne(Bits(x)) && detail::IsPositiveNormalFinite(Bits(x));
}

// Pow on its common path; extraordinary becomes non-zero where an element leaves it.
TAVRIN21_WIDE_VECTORS void PowOfOrdinary(const double* x,
                                         const double* y,
                                         std::size_t count,
                                         double* out,
                                         std::uint32_t& extraordinary) {
    for (std::size_t i = 0; i < count; ++i) {
        extraordinary |= detail::IsOrdinaryBase(x[i]) ? 0 : 1;
        extraordinary |= detail::IsOrdinaryExponent(y[i]) ? 0 : 1;
        const detail::DoubleDouble log = detail::SplitForProduct(detail::PowLog(Bits(x[i])));
        const double yhi = FromBits(Bits(y[i]) & kHalfMask);
        const double ylo = y[i] - yhi;
        const double ehi = yhi * log.hi;
        const double elo = ylo * log.hi + y[i] * log.lo;
        extraordinary |= detail::IsOrdinaryExpArgument(ehi) ? 0 : 1;
        out[i] = detail::ExpFromParts(detail::PowExpParts(ehi, elo, 0));
    }
}

TAVRIN21_WIDE_VECTORS void LogOfOrdinary(const double* x,
                                         std::size_t count,
                                         double* out,
                                         std::uint32_t& extraordinary) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t ix = Bits(x[i]);
        const std::uint32_t nearOne = detail::IsLogNearOne(ix) ? 1 : 0;
        const std::uint32_t special = detail::IsPositiveNormalFinite(ix) ? 0 : 1;
        extraordinary |= nearOne | special;
        out[i] = detail::LogOfOrdinary(ix);
    }
}

// Runs `common` (the common path of a block's elements, which marks `extraordinary` where one
// leaves it) a block at a time into scratch, redoes with `full` each element that `ordinary`
// says was off that path, then copies the block out.
template <class Common, class Ordinary, class Full>
void OverBlocks(std::size_t count, double* out, Common common, Ordinary ordinary, Full full) {
    double block[kBlock];
    for (std::size_t first = 0; first < count; first += kBlock) {
        const std::size_t n = std::min(kBlock, count - first);
        std::uint32_t extraordinary = 0;  // not a bool: a bool reduction does not vectorise
        common(first, n, block, extraordinary);
        if (extraordinary != 0) [[unlikely]] {
            for (std::size_t i = 0; i < n; ++i) {
                if (!ordinary(first + i)) {
                    block[i] = full(first + i);
                }
            }
        }
        std::copy_n(block, n, out + first);
    }
}

}  // namespace

void PowEach(const double* x, const double* y, std::size_t count, double* out) {
    OverBlocks(
        count, out,
        [&](std::size_t first, std::size_t n, double* block, std::uint32_t& extraordinary) {
            PowOfOrdinary(x + first, y + first, n, block, extraordinary);
        },
        [&](std::size_t i) { return IsPowOrdinary(x[i], y[i]); },
        [&](std::size_t i) { return Pow(x[i], y[i]); });
}

void LogEach(const double* x, std::size_t count, double* out) {
    OverBlocks(
        count, out,
        [&](std::size_t first, std::size_t n, double* block, std::uint32_t& extraordinary) {
            LogOfOrdinary(x + first, n, block, extraordinary);
        },
        [&](std::size_t i) { return IsLogOrdinary(x[i]); },
        [&](std::size_t i) { return Log(x[i]); });
}

}  // namespace tavrin21::portable
