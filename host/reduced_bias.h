#pragma once

// A small-sample correction of the maximum-likelihood shape, which is biased upwards when
// there are few failures.

#include <cstddef>
#include <optional>

namespace tavrin21::host {

// The reduced-bias adjustment: shape x C4(r)^3.5, where r is the number of failures and
// C4(r) = sqrt(2 / (r - 1)) Gamma(r / 2) / Gamma((r - 1) / 2) is the bias factor of the normal
// standard deviation. Nothing for fewer than two failures.
std::optional<double> ReducedBiasShape(double shape, std::size_t failureCount);

}  // namespace tavrin21::host
