#pragma once

// The two halves of the portable pow, shared by Pow and FixedBasePowers: pow's logarithm of its
// base in double-double precision, and the exponential of y times that logarithm. Every step is
// a plain IEEE double operation or an integer operation on a double's bits, in an order the
// compiler may not change (no contraction, no reassociation), so the results are the same on
// every processor. The algorithm is that of glibc's pow (Arm's optimized routines) as built for
// processors without fused multiply-add: products that need more than 53 bits are split into
// halves of at most 26 bits, whose products are exact.

#include <bit>
#include <cstddef>
#include <cstdint>

namespace tavrin21::portable::detail {

struct PowLogEntry {
    double invc;
    double logc;
    double logctail;
};

struct LogEntry {
    double invc;
    double logc;
};

struct LogCentre {
    double chi;
    double clo;
};

#include "stats/portable_math_tables.inc"

constexpr std::uint64_t Bits(double x) {
    return std::bit_cast<std::uint64_t>(x);
}

constexpr double FromBits(std::uint64_t bits) {
    return std::bit_cast<double>(bits);
}

// Sign and exponent.
constexpr std::uint32_t Top12(double x) {
    return static_cast<std::uint32_t>(Bits(x) >> 52);
}

// Keeps the upper 26 bits of a significand: the product of two such halves is exact.
constexpr std::uint64_t kHalfMask = ~std::uint64_t{0} << 27;

// Added to the exponent bits of a result whose sign is negative (a negative base, odd exponent).
constexpr std::uint32_t kSignBias = 0x800 << 7;

// A logarithm as hi + lo, |lo| far below an ulp of hi.
struct DoubleDouble {
    double hi;
    double lo;
};

// True for a base the common path takes as it is: positive, normal and finite.
constexpr bool IsOrdinaryBase(double x) {
    return Top12(x) - 0x001 < 0x7ff - 0x001;
}

// True for an exponent with 2^-65 <= |y| < 2^63: below, x^y rounds to 1 +- y; above, it
// overflows or underflows whatever x is (other than 1).
constexpr bool IsOrdinaryExponent(double y) {
    return (Top12(y) & 0x7ff) - 0x3be < 0x43e - 0x3be;
}

// x = 2^k z for the bits ix of a positive normal x (a subnormal one normalised with a negative
// exponent), z in [offset, 2 offset) with bits iz, and i the subinterval of z in a table of 128.
struct TableReduction {
    std::size_t i;
    std::int32_t k;
    std::uint64_t iz;
};

inline TableReduction ReduceForTable(std::uint64_t ix, std::uint64_t offset) {
    const std::uint64_t tmp = ix - offset;
    // The top 12 bits of tmp as a signed number, shifted in 32 bits, which vectorises.
    return {static_cast<std::size_t>((tmp >> (52 - 7)) % 128),
            static_cast<std::int32_t>(static_cast<std::uint32_t>(tmp >> 32)) >> 20,
            ix - (tmp & std::uint64_t{0xfff} << 52)};
}

// ln x as hi + lo with about 15 bits beyond a double, for the bits ix of a positive normal x
// (a subnormal one normalised with a negative exponent).
inline DoubleDouble PowLog(std::uint64_t ix) {
    // x = 2^k z, z in [kOffset, 2 kOffset); ln x = k ln 2 + ln c + ln(z/c), c near z from the
    // table, and r = z/c - 1 is exact because 1/c has few bits.
    constexpr std::uint64_t kOffset = 0x3fe6955500000000;
    const auto [i, k, iz] = ReduceForTable(ix, kOffset);
    const double z = FromBits(iz);
    const double kd = k;
    const PowLogEntry& entry = kPowLogTable[i];

    // z = zhi + zlo so that rhi, rlo and rhi * rhi are exact and |rlo| <= |r|.
    const double zhi = FromBits((iz + (std::uint64_t{1} << 31)) & (~std::uint64_t{0} << 32));
    const double zlo = z - zhi;
    const double rhi = zhi * entry.invc - 1.0;
    const double rlo = zlo * entry.invc;
    const double r = rhi + rlo;

    // k ln 2 + ln c + r, with what each sum lost kept aside.
    const double t1 = kd * kLn2Hi + entry.logc;
    const double t2 = t1 + r;
    const double lo1 = kd * kLn2Lo + entry.logctail;
    const double lo2 = t1 - t2 + r;

    // + A0 r^2, then the rest of ln(1 + r) as a polynomial.
    const double* a = kPowLogPoly;
    const double ar = a[0] * r;
    const double ar2 = r * ar;
    const double ar3 = r * ar2;
    const double arhi = a[0] * rhi;
    const double arhi2 = rhi * arhi;
    const double hi = t2 + arhi2;
    const double lo3 = rlo * (ar + arhi);
    const double lo4 = t2 - hi + arhi2;
    const double p = ar3 * (a[1] + r * a[2] + ar2 * (a[3] + r * a[4] + ar2 * (a[5] + r * a[6])));
    const double lo = lo1 + lo2 + lo3 + lo4 + p;
    const double y = hi + lo;
    return {y, hi - y + lo};
}

// True for an x in [1 - 2^-4, 1 + 0x1.09p-4), where ln x is small and the table's ln c would
// cancel; decided on the upper half of the bits, as the bounds' lower halves are 0.
constexpr bool IsLogNearOne(std::uint64_t ix) {
    constexpr auto kLow = static_cast<std::uint32_t>(Bits(1.0 - 0x1p-4) >> 32);
    constexpr auto kHigh = static_cast<std::uint32_t>(Bits(1.0 + 0x1.09p-4) >> 32);
    return static_cast<std::uint32_t>(ix >> 32) - kLow < kHigh - kLow;
}

// True for an x that is positive, normal and finite.
constexpr bool IsPositiveNormalFinite(std::uint64_t ix) {
    return static_cast<std::uint32_t>(ix >> 48) - 0x0010 < 0x7ff0 - 0x0010;
}

// ln x on the common path, for the bits ix of x (a subnormal x normalised with a negative
// exponent): x = 2^k z, ln x = k ln 2 + ln c + ln(z/c), with c from a table of 128 subintervals
// and ln(z/c) a polynomial in r = z/c - 1. Free of branches, so that a loop of them vectorises.
inline double LogOfOrdinary(std::uint64_t ix) {
    const auto [i, k, iz] = ReduceForTable(ix, 0x3fe6000000000000);
    const double invc = kLogTable[i].invc;
    const double logc = kLogTable[i].logc;
    const double z = FromBits(iz);

    // r ~= z/c - 1 with c = chi + clo, exact enough without a fused multiply-add.
    const double r = (z - kLogCentres[i].chi - kLogCentres[i].clo) * invc;
    const double kd = k;

    // hi + lo = r + ln c + k ln 2
    const double w = kd * kLn2Hi + logc;
    const double hi = w + r;
    const double lo = w - hi + r + kd * kLn2Lo;

    // ln x = lo + (ln(1 + r) - r) + hi
    const double* a = kLogPoly;
    const double r2 = r * r;
    return lo + r2 * a[0] + r * r2 * (a[1] + r * a[2] + r2 * (a[3] + r * a[4])) + hi;
}

// A logarithm split for its product with an exponent: hi has 26 significant bits.
inline DoubleDouble SplitForProduct(DoubleDouble log) {
    const double hi = FromBits(Bits(log.hi) & kHalfMask);
    return {hi, log.hi - hi + log.lo};
}

// The result outside the range of a double, with the sign the bias asks for.
double Overflow(std::uint32_t signBias);
double Underflow(std::uint32_t signBias);

// scale * (1 + tmp) where it may overflow or fall into the subnormal range.
double ExpSpecialCase(double tmp, std::uint64_t sbits, std::uint64_t ki);

// True where exp(x) takes the common path: 2^-54 <= |x| < 512.
constexpr bool IsOrdinaryExpArgument(double x) {
    return (Top12(x) & 0x7ff) - Top12(0x1p-54) < Top12(512.0) - Top12(0x1p-54);
}

// exp(x) = 2^(k/128) exp(r), x = k ln2/128 + r, |r| <= ln2/256, as scale * (1 + tmp) with the
// bits sbits of scale, which may lie outside the range of a double for |x| >= 512.
struct ExpParts {
    double tmp;
    std::uint64_t sbits;
    std::uint64_t ki;
};

// sign * exp(x + xtail) as ExpParts, |xtail| < 2^-8/128 and |xtail| <= |x|; the sign is
// negative when signBias is kSignBias. Free of branches, so that a loop of them vectorises.
inline ExpParts PowExpParts(double x, double xtail, std::uint32_t signBias) {
    // Adding the shift rounds x 128/ln2 to the integer k, which lands in the low bits of kd.
    const double z = kExpInvLn2N * x;
    double kd = z + kExpShift;
    const std::uint64_t ki = Bits(kd);
    kd -= kExpShift;
    double r = x + kd * kExpNegLn2HiN + kd * kExpNegLn2LoN;
    r += xtail;
    // 2^(k/128) ~= scale * (1 + tail)
    const std::uint64_t index = 2 * (ki % 128);
    const std::uint64_t top = (ki + signBias) << (52 - 7);
    const double tail = FromBits(kExpTable[index]);
    const std::uint64_t sbits = kExpTable[index + 1] + top;
    const double r2 = r * r;
    const double* c = kExpPoly;
    const double tmp = tail + r + r2 * (c[0] + r * c[1]) + r2 * r2 * (c[2] + r * c[3]);
    return {tmp, sbits, ki};
}

// The result of PowExpParts on the common path.
inline double ExpFromParts(const ExpParts& parts) {
    const double scale = FromBits(parts.sbits);
    return scale + scale * parts.tmp;
}

// sign * exp(x + xtail), every case.
inline double PowExp(double x, double xtail, std::uint32_t signBias) {
    if (IsOrdinaryExpArgument(x)) [[likely]] {
        return ExpFromParts(PowExpParts(x, xtail, signBias));
    }
    const std::uint32_t abstop = Top12(x) & 0x7ff;
    if (abstop < Top12(0x1p-54)) {
        // |x| < 2^-54: exp rounds to 1, without a spurious underflow.
        const double one = 1.0 + x;
        return signBias != 0 ? -one : one;
    }
    if (abstop >= Top12(1024.0)) {
        return Bits(x) >> 63 != 0 ? Underflow(signBias) : Overflow(signBias);
    }
    // |x| in [512, 1024): the scale may leave the range of a double.
    const ExpParts parts = PowExpParts(x, xtail, signBias);
    return ExpSpecialCase(parts.tmp, parts.sbits, parts.ki);
}

// exp(y (hi + lo)) for a logarithm split by SplitForProduct, y split the same way.
inline double PowExpOfProduct(double y, DoubleDouble splitLog, std::uint32_t signBias) {
    const double yhi = FromBits(Bits(y) & kHalfMask);
    const double ylo = y - yhi;
    const double ehi = yhi * splitLog.hi;
    const double elo = ylo * splitLog.hi + y * splitLog.lo;  // |elo| < |ehi| 2^-25
    return PowExp(ehi, elo, signBias);
}

}  // namespace tavrin21::portable::detail
