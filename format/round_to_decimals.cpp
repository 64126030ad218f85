#include "format/round_to_decimals.h"

#include <cmath>

namespace tavrin21 {

double RoundToDecimals(double value, std::int32_t decimals) {
    const double scale = std::pow(10.0, decimals);
    double integerPart = 0.0;
    std::modf(value * scale + 0.5, &integerPart);
    return integerPart / scale;
}

}  // namespace tavrin21
