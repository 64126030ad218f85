// ln x: near 1 a polynomial in r = x - 1; elsewhere x = 2^k z and ln x = k ln 2 + ln c + ln(z/c)
// with c from a table of 128 subintervals and ln(z/c) a polynomial in r = z/c - 1.

#include "stats/portable_math.h"
#include "stats/portable_math_kernels.h"

#include <cmath>
#include <cstdint>

namespace tavrin21::portable {

using detail::Bits;
using detail::kLogPolyNearOne;

namespace {

// x near 1 (detail::IsLogNearOne), where ln x is small and the table's ln c would cancel.
double LogNearOne(double x) {
    if (x == 1.0) {
        return 0;
    }
    const double* b = kLogPolyNearOne;
    const double r = x - 1.0;
    const double r2 = r * r;
    const double r3 = r * r2;
    double y =
        r3 * (b[1] + r * b[2] + r2 * b[3] +
              r3 * (b[4] + r * b[5] + r2 * b[6] + r3 * (b[7] + r * b[8] + r2 * b[9] + r3 * b[10])));
    // r + b0 r^2 in double-double: r = rhi + rlo with rhi of 26 bits, so rhi^2 is exact.
    double w = r * 0x1p27;
    const double rhi = r + w - w;
    const double rlo = r - rhi;
    w = rhi * rhi * b[0];
    const double hi = r + w;
    double lo = r - hi + w;
    lo += b[0] * rlo * (rhi + r);
    y += lo;
    y += hi;
    return y;
}

}  // namespace

double Log(double x) {
    std::uint64_t ix = Bits(x);
    if (detail::IsLogNearOne(ix)) [[unlikely]] {
        return LogNearOne(x);
    }
    if (!detail::IsPositiveNormalFinite(ix)) [[unlikely]] {
        // x < 2^-1022, infinite or not a number.
        const auto top = static_cast<std::uint32_t>(ix >> 48);
        if (ix * 2 == 0) {
            return -INFINITY;
        }
        if (ix == Bits(INFINITY)) {
            return x;
        }
        if ((top & 0x8000) != 0 || (top & 0x7ff0) == 0x7ff0) {
            return (x - x) / (x - x);  // negative or NaN: the C library's NaN
        }
        ix = Bits(x * 0x1p52);  // subnormal: normalised, the exponent below the range
        ix -= std::uint64_t{52} << 52;
    }

    return detail::LogOfOrdinary(ix);
}

}  // namespace tavrin21::portable
