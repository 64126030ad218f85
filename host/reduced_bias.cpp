#include "host/reduced_bias.h"

#include <cmath>

namespace tavrin21::host {

std::optional<double> ReducedBiasShape(double shape, std::size_t failureCount) {
    if (failureCount < 2) {
        return std::nullopt;
    }
    const auto r = static_cast<double>(failureCount);
    const double c4 =
        std::sqrt(2.0 / (r - 1.0)) * std::exp(std::lgamma(r / 2.0) - std::lgamma((r - 1.0) / 2.0));
    return shape * std::pow(c4, 3.5);
}

}  // namespace tavrin21::host
