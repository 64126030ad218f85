// x^y = exp(y ln x): ln x in double-double precision, then exp of the product, with the special
// cases of C's pow decided on the bits of x and y first.

#include "stats/portable_math.h"
#include "stats/portable_math_kernels.h"

#include <cmath>
#include <cstdint>
#include <optional>

namespace tavrin21::portable {
namespace detail {

double Overflow(std::uint32_t signBias) {
    const double huge = 0x1p769;
    return (signBias != 0 ? -huge : huge) * huge;
}

double Underflow(std::uint32_t signBias) {
    const double tiny = 0x1p-767;
    return (signBias != 0 ? -tiny : tiny) * tiny;
}

double ExpSpecialCase(double tmp, std::uint64_t sbits, std::uint64_t ki) {
    if ((ki & 0x80000000) == 0) {
        // k > 0: the exponent of scale may have overflowed by up to 460; it is taken down by
        // 1009 and the result scaled back up, overflowing to infinity where it must.
        // (glibc checks for pow(DBL_MAX, 1) rounding up here, which round-to-nearest never does.)
        const double scale = FromBits(sbits - (std::uint64_t{1009} << 52));
        const double y = scale + scale * tmp;
        return y * 0x1p1009;
    }
    // k < 0: the result may be subnormal. It is rounded to the precision it will have before
    // it is scaled down, so that it is rounded once, not twice.
    sbits += std::uint64_t{1022} << 52;
    const double scale = FromBits(sbits);
    double y = scale + scale * tmp;
    if (std::fabs(y) < 1.0) {
        const double one = y < 0.0 ? -1.0 : 1.0;
        double lo = scale - y + scale * tmp;
        const double hi = one + y;
        lo = one - hi + y + lo;
        y = (hi + lo) - one;
        if (y == 0.0) {
            y = FromBits(sbits & 0x8000000000000000);  // the zero keeps the result's sign
        }
    }
    return 0x1p-1022 * y;
}

}  // namespace detail

namespace {

using detail::Bits;
using detail::FromBits;
using detail::Top12;

// 0 if y is not an integer, 1 if it is odd, 2 if even; iy are the bits of a finite y other than 0.
int IntegerKind(std::uint64_t iy) {
    const auto exponent = static_cast<int>(iy >> 52 & 0x7ff);
    if (exponent < 0x3ff) {
        return 0;
    }
    if (exponent > 0x3ff + 52) {
        return 2;
    }
    if ((iy & ((std::uint64_t{1} << (0x3ff + 52 - exponent)) - 1)) != 0) {
        return 0;
    }
    return (iy & (std::uint64_t{1} << (0x3ff + 52 - exponent))) != 0 ? 1 : 2;
}

bool IsZeroInfinityOrNaN(std::uint64_t i) {
    return 2 * i - 1 >= 2 * Bits(INFINITY) - 1;
}

bool IsSignalingNaN(double x) {
    return 2 * (Bits(x) ^ 0x0008000000000000) > 2 * std::uint64_t{0x7ff8000000000000};
}

// The not-a-number that 0/0 gives on this processor, as the C library returns it.
double Invalid(double x) {
    return (x - x) / (x - x);
}

// y is 0, infinite or not a number.
double PowOfSpecialExponent(double x, double y) {
    const std::uint64_t ix = Bits(x);
    const std::uint64_t iy = Bits(y);
    if (2 * iy == 0) {
        return IsSignalingNaN(x) ? x + y : 1.0;
    }
    if (ix == Bits(1.0)) {
        return IsSignalingNaN(y) ? x + y : 1.0;
    }
    if (2 * ix > 2 * Bits(INFINITY) || 2 * iy > 2 * Bits(INFINITY)) {
        return x + y;
    }
    if (2 * ix == 2 * Bits(1.0)) {
        return 1.0;
    }
    if ((2 * ix < 2 * Bits(1.0)) == ((iy >> 63) == 0)) {
        return 0.0;  // |x| < 1 and y = inf, or |x| > 1 and y = -inf
    }
    return y * y;
}

// x is +-0 or +-infinity (a NaN x was handled with the exponent).
double PowOfSpecialBase(double x, double y) {
    const std::uint64_t iy = Bits(y);
    double x2 = x * x;
    if (Bits(x) >> 63 != 0 && IntegerKind(iy) == 1) {
        x2 = -x2;
    }
    return iy >> 63 != 0 ? 1 / x2 : x2;
}

// The special cases of pow: returns the result, or adjusts the bits of x (made positive, or a
// subnormal normalised) and the sign for the common path.
std::optional<double> SpecialCase(double x, double y, std::uint64_t& ix, std::uint32_t& signBias) {
    const std::uint64_t iy = Bits(y);
    if (IsZeroInfinityOrNaN(iy)) {
        return PowOfSpecialExponent(x, y);
    }
    if (IsZeroInfinityOrNaN(ix)) {
        return PowOfSpecialBase(x, y);
    }
    // x and y are finite and not 0.
    std::uint32_t topx = Top12(x);
    if (ix >> 63 != 0) {
        const int kind = IntegerKind(iy);
        if (kind == 0) {
            return Invalid(x);
        }
        if (kind == 1) {
            signBias = detail::kSignBias;
        }
        ix &= 0x7fffffffffffffff;
        topx &= 0x7ff;
    }
    if (!detail::IsOrdinaryExponent(y)) {
        // y is even here, if x was negative.
        if (ix == Bits(1.0)) {
            return 1.0;
        }
        if ((Top12(y) & 0x7ff) < 0x3be) {
            return ix > Bits(1.0) ? 1.0 + y : 1.0 - y;  // |y| < 2^-65: x^y ~= 1 + y ln x
        }
        return (ix > Bits(1.0)) == (Top12(y) < 0x800) ? detail::Overflow(0) : detail::Underflow(0);
    }
    if (topx == 0) {
        // Subnormal: normalised, with the exponent below the range of doubles.
        ix = Bits(x * 0x1p52) & 0x7fffffffffffffff;
        ix -= std::uint64_t{52} << 52;
    }
    return std::nullopt;
}

}  // namespace

double Pow(double x, double y) {
    std::uint32_t signBias = 0;
    std::uint64_t ix = Bits(x);
    if (!detail::IsOrdinaryBase(x) || !detail::IsOrdinaryExponent(y)) [[unlikely]] {
        if (const std::optional<double> result = SpecialCase(x, y, ix, signBias)) {
            return *result;
        }
    }
    const detail::DoubleDouble log = detail::PowLog(ix);
    return detail::PowExpOfProduct(y, detail::SplitForProduct(log), signBias);
}

}  // namespace tavrin21::portable
