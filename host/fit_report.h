#pragma once

// The Weibull report of one part: the data the field-data method fits, the module's estimate,
// and the exact maximum-likelihood fit of the same likelihood beside it.

#include "host/median_ranks.h"
#include "host/weibull_mle.h"
#include "host/weibull_model.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavrin21::host {

// The field-data method takes this from every recorded time before it fits.
inline constexpr double kModuleTimeOrigin = 20.0;

// What calc_item left in the item: status, message, and shape and scale as singles.
struct ModuleOutcome {
    std::int32_t status = 0;
    std::string message;
    float shape = 0.0f;
    float scale = 0.0f;
};

struct WeibullEstimate {
    double shape = 0.0;
    double scale = 0.0;
    std::optional<double> reducedBiasShape;  // none for fewer than two failures
    double b10Life = 0.0;
    double negLogLikelihood = 0.0;  // on the data after the time origin
};

// How far the module's estimate is from the exact one: per cent of the exact value, and how
// much higher -ln L is at the module's estimate (never below 0 at a true maximum).
struct EstimateDeviation {
    double shapePercent = 0.0;
    double scalePercent = 0.0;
    double b10Percent = 0.0;
    double negLogLikelihoodExcess = 0.0;
};

struct FitReport {
    std::string partNumber;
    std::uint8_t environmentCode = 0;
    double timeOrigin = kModuleTimeOrigin;
    WeibullSample data;  // after the time origin, in the order the rows were read
    std::vector<RankedFailure> ranks;

    ModuleOutcome module;
    std::optional<WeibullEstimate> moduleFit;  // none when the module's fit failed (shape 0)

    std::optional<WeibullEstimate> exactFit;
    std::optional<WeibullBounds> exactBounds;
    int exactIterations = 0;
    std::string exactFailure;  // why there is no exact fit

    std::optional<EstimateDeviation> deviation;
};

// Fits `recorded` (times as the library holds them) exactly and sets the module's outcome
// beside it. A sample the exact fit cannot take leaves exactFit empty with the reason.
FitReport MakeFitReport(const std::string& partNumber,
                        std::uint8_t environmentCode,
                        const WeibullSample& recorded,
                        const ModuleOutcome& module);

}  // namespace tavrin21::host
