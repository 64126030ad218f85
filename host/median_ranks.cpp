#include "host/median_ranks.h"

#include <algorithm>
#include <utility>

namespace tavrin21::host {

std::vector<RankedFailure> MedianRanks(const WeibullSample& sample) {
    // (time, suspended): failures sort before suspensions at equal times.
    std::vector<std::pair<double, bool>> units;
    for (const double time : sample.failures) {
        units.emplace_back(time, false);
    }
    for (const double time : sample.suspensions) {
        units.emplace_back(time, true);
    }
    std::sort(units.begin(), units.end());

    const auto unitCount = static_cast<double>(units.size());
    std::vector<RankedFailure> ranked;
    double order = 0.0;
    for (std::size_t position = 0; position < units.size(); ++position) {
        if (units[position].second) {
            continue;
        }
        const double reverseRank = unitCount - static_cast<double>(position);
        order += (unitCount + 1.0 - order) / (1.0 + reverseRank);
        ranked.push_back({units[position].first, order, (order - 0.3) / (unitCount + 0.4)});
    }
    return ranked;
}

}  // namespace tavrin21::host
