#include "stats/fixed_base_powers.h"

#include "stats/portable_math.h"
#include "stats/portable_math_kernels.h"
#include "stats/wide_vectors.h"

#include <cstdint>

namespace tavrin21 {

using portable::detail::Bits;
using portable::detail::ExpFromParts;
using portable::detail::FromBits;
using portable::detail::IsOrdinaryExpArgument;
using portable::detail::kHalfMask;
using portable::detail::PowExp;
using portable::detail::PowExpParts;

FixedBasePowers::FixedBasePowers(std::span<const double> bases)
    : bases_(bases.begin(), bases.end()), logHi_(bases.size()), logLo_(bases.size()) {
    for (std::size_t i = 0; i < bases.size(); ++i) {
        if (!portable::detail::IsOrdinaryBase(bases[i])) {
            basesOrdinary_ = false;
            continue;
        }
        const portable::detail::DoubleDouble split =
            portable::detail::SplitForProduct(portable::detail::PowLog(Bits(bases[i])));
        logHi_[i] = split.hi;
        logLo_[i] = split.lo;
    }
}

TAVRIN21_WIDE_VECTORS void FixedBasePowers::Compute(double exponent,
                                                    std::size_t first,
                                                    std::size_t count,
                                                    double* powers) const {
    if (!basesOrdinary_ || !portable::detail::IsOrdinaryExponent(exponent)) [[unlikely]] {
        for (std::size_t i = 0; i < count; ++i) {
            powers[i] = portable::Pow(bases_[first + i], exponent);
        }
        return;
    }
    // PowExpOfProduct, with the split of the exponent taken out of the loop, and without a
    // branch in the loop, so that it vectorises: the few powers whose exponential is not on the
    // common path are made again, with every case.
    const double yhi = FromBits(Bits(exponent) & kHalfMask);
    const double ylo = exponent - yhi;
    const double* logHi = logHi_.data() + first;
    const double* logLo = logLo_.data() + first;
    std::uint32_t extraordinary = 0;  // not a bool: a bool reduction does not vectorise
    for (std::size_t i = 0; i < count; ++i) {
        const double ehi = yhi * logHi[i];
        const double elo = ylo * logHi[i] + exponent * logLo[i];
        extraordinary |= IsOrdinaryExpArgument(ehi) ? 0 : 1;
        powers[i] = ExpFromParts(PowExpParts(ehi, elo, 0));
    }
    if (extraordinary == 0) [[likely]] {
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const double ehi = yhi * logHi[i];
        const double elo = ylo * logHi[i] + exponent * logLo[i];
        powers[i] = PowExp(ehi, elo, 0);
    }
}

TAVRIN21_WIDE_VECTORS void FixedBasePowers::ComputeSideBySide(const double* exponents,
                                                              std::size_t first,
                                                              std::size_t count,
                                                              double* powers) const {
    constexpr std::size_t sides = kSideBySide;
    bool exponentsOrdinary = true;
    double yhi[sides], ylo[sides];
    for (std::size_t j = 0; j < sides; ++j) {
        exponentsOrdinary = exponentsOrdinary && portable::detail::IsOrdinaryExponent(exponents[j]);
        yhi[j] = FromBits(Bits(exponents[j]) & kHalfMask);
        ylo[j] = exponents[j] - yhi[j];
    }
    if (!basesOrdinary_ || !exponentsOrdinary) [[unlikely]] {
        for (std::size_t i = 0; i < count; ++i) {
            for (std::size_t j = 0; j < sides; ++j) {
                powers[sides * i + j] = portable::Pow(bases_[first + i], exponents[j]);
            }
        }
        return;
    }
    // As Compute, with the exponents side by side in the inner loop, which the compiler
    // vectorises across them.
    const double* logHi = logHi_.data() + first;
    const double* logLo = logLo_.data() + first;
    std::uint32_t extraordinary = 0;
    for (std::size_t i = 0; i < count; ++i) {
        // Unrolled, so that the outer loop vectorises at -O2 as well.
#pragma GCC unroll 4
        for (std::size_t j = 0; j < sides; ++j) {
            const double ehi = yhi[j] * logHi[i];
            const double elo = ylo[j] * logHi[i] + exponents[j] * logLo[i];
            extraordinary |= IsOrdinaryExpArgument(ehi) ? 0 : 1;
            powers[sides * i + j] = ExpFromParts(PowExpParts(ehi, elo, 0));
        }
    }
    if (extraordinary == 0) [[likely]] {
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t j = 0; j < sides; ++j) {
            const double ehi = yhi[j] * logHi[i];
            const double elo = ylo[j] * logHi[i] + exponents[j] * logLo[i];
            powers[sides * i + j] = PowExp(ehi, elo, 0);
        }
    }
}

}  // namespace tavrin21
