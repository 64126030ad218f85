#include "stats/fixed_base_powers.h"

#include "stats/portable_math.h"
#include "stats/portable_math_kernels.h"

namespace tavrin21 {

FixedBasePowers::FixedBasePowers(std::span<const double> bases)
    : bases_(bases.begin(), bases.end()), logHi_(bases.size()), logLo_(bases.size()) {
    for (std::size_t i = 0; i < bases.size(); ++i) {
        if (!portable::detail::IsOrdinaryBase(bases[i])) {
            basesOrdinary_ = false;
            continue;
        }
        const portable::detail::DoubleDouble split = portable::detail::SplitForProduct(
            portable::detail::PowLog(portable::detail::Bits(bases[i])));
        logHi_[i] = split.hi;
        logLo_[i] = split.lo;
    }
}

void FixedBasePowers::Compute(double exponent,
                              std::size_t first,
                              std::size_t count,
                              double* powers) const {
    if (!basesOrdinary_ || !portable::detail::IsOrdinaryExponent(exponent)) [[unlikely]] {
        for (std::size_t i = 0; i < count; ++i) {
            powers[i] = portable::Pow(bases_[first + i], exponent);
        }
        return;
    }
    // PowExpOfProduct, with the split of the exponent taken out of the loop.
    const double yhi =
        portable::detail::FromBits(portable::detail::Bits(exponent) & portable::detail::kHalfMask);
    const double ylo = exponent - yhi;
    const double* logHi = logHi_.data() + first;
    const double* logLo = logLo_.data() + first;
    for (std::size_t i = 0; i < count; ++i) {
        const double ehi = yhi * logHi[i];
        const double elo = ylo * logHi[i] + exponent * logLo[i];
        powers[i] = portable::detail::PowExp(ehi, elo, 0);
    }
}

}  // namespace tavrin21
