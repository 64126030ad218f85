#include "stats/deviate_factors.h"

#include <limits>

namespace tavrin21 {
namespace {

constexpr double kDeviateNaN = std::numeric_limits<double>::quiet_NaN();

constexpr std::array<DeviateFactors, kDeviateDrawMax> kDeviateTable = {{
#include "stats/deviate_table.inc"
}};

}  // namespace

const std::array<DeviateFactors, kDeviateDrawMax>& DeviateTable() {
    return kDeviateTable;
}

}  // namespace tavrin21
