#include "host/fit_report.h"

#include "host/reduced_bias.h"

#include <stdexcept>

namespace tavrin21::host {

namespace {

constexpr double kB10Fraction = 0.10;

WeibullEstimate EstimateAt(const WeibullSample& data, double shape, double scale) {
    WeibullEstimate estimate;
    estimate.shape = shape;
    estimate.scale = scale;
    estimate.reducedBiasShape = ReducedBiasShape(shape, data.failures.size());
    estimate.b10Life = WeibullLife(scale, shape, kB10Fraction);
    estimate.negLogLikelihood = WeibullNegLogLikelihood(data, scale, shape);
    return estimate;
}

double PercentFrom(double value, double reference) {
    return (value - reference) / reference * 100.0;
}

}  // namespace

FitReport MakeFitReport(const std::string& partNumber,
                        std::uint8_t environmentCode,
                        const WeibullSample& recorded,
                        const ModuleOutcome& module) {
    FitReport report;
    report.partNumber = partNumber;
    report.environmentCode = environmentCode;
    report.data = AfterOrigin(recorded, report.timeOrigin);
    report.ranks = MedianRanks(report.data);
    report.module = module;
    if (module.shape > 0.0f && module.scale > 0.0f) {
        report.moduleFit = EstimateAt(report.data, module.shape, module.scale);
    }

    try {
        const WeibullMle mle = FitWeibullMle(report.data);
        report.exactFit = EstimateAt(report.data, mle.shape, mle.scale);
        report.exactIterations = mle.iterations;
        report.exactBounds = FisherBounds95(report.data, mle);
    } catch (const std::runtime_error& error) {
        // Bounds that cannot be had leave the fit itself standing.
        if (!report.exactFit) {
            report.exactFailure = error.what();
        }
    }

    if (report.moduleFit && report.exactFit) {
        const WeibullEstimate& m = *report.moduleFit;
        const WeibullEstimate& e = *report.exactFit;
        report.deviation = EstimateDeviation{
            PercentFrom(m.shape, e.shape), PercentFrom(m.scale, e.scale),
            PercentFrom(m.b10Life, e.b10Life), m.negLogLikelihood - e.negLogLikelihood};
    }
    return report;
}

}  // namespace tavrin21::host
