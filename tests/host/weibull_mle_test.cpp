#include "host/weibull_mle.h"

#include <array>
#include <stdexcept>

#include <gtest/gtest.h>

namespace tavrin21::host {
namespace {

struct ReferenceFit {
    const char* name;
    double origin;
    std::vector<double> failures;
    std::vector<double> suspensions;
    double shape, scale, negLogLikelihood, b10Life;
    std::array<double, 6> bounds;  // 95 %: scale, shape, B10, each lower then upper
};

// Printed by tests/tools/weibull_reference.py (scipy: brentq on the profile score equation,
// confirmed by Nelder-Mead on the censored likelihood; bounds from a finite-difference Hessian).
// Two of the example library's field histories (the fit command's test checks the shapes of all
// four), complete and censored; then the ten-unit set of the rank check and the ball-bearing
// endurance data (whose published fit is shape 2.102, scale 81.88).
// clang-format off
const ReferenceFit kReferenceFits[] = {
    {"RelayGroundFixed", 20.0,
     {38.5, 61.25, 97.0},
     {},
     2.0291933955477002, 51.706985010573028, 13.594391340704966, 17.05761777953413,
     {28.6910186497, 93.1863846148, 0.814129460439, 5.05770400977, 4.53191362984, 64.2029720949}},
    {"SealNavalSheltered", 20.0,
     {2733.41, 2277.53, 2664.5, 3500.6, 2883.2, 5109.43, 1853.2, 3250.76, 3127.26, 3615.13,
      5105.04, 3857.68, 2107.71, 4245.04, 4792.07},
     {2022.76, 3121.02, 459.43, 2191.69, 2259.79, 3434.6, 2429.04, 4034.53, 1637.22, 3370.23},
     4.0869648054540484, 4006.2709945127199, 128.20627626097595, 2309.9830926195882,
     {3537.80374886, 4536.77151726, 2.82528485006, 5.91206982922, 1802.7802476, 2959.88481973}},
    {"TenUnitsFourSuspended", 0.0,
     {150.0, 560.0, 800.0, 1720.0, 5230.0, 6890.0},
     {340.0, 1130.0, 2470.0, 4210.0},
     0.97206867225749538, 3926.8534253354296, 55.634152382246057, 387.82901649712534,
     {1719.70860426, 8966.73877533, 0.513201440616, 1.84122145575, 75.5201605692, 1991.67142791}},
    {"BallBearings", 0.0,
     {17.88, 28.92, 33.0, 41.52, 42.12, 45.6, 48.48, 51.84, 51.96, 54.12, 55.56, 67.8, 68.64,
      68.64, 68.88, 84.12, 93.12, 98.64, 105.12, 105.84, 127.92, 128.04, 173.4},
     {},
     2.1020588751946185, 81.878334051631512, 113.69129093232014, 28.069414010704939,
     {66.6437388474, 100.595520345, 1.54720308501, 2.85589626702, 18.0601030416, 43.6261078405}},
};
// clang-format on

double Relative(double value, double reference) {
    return std::abs(value / reference - 1.0);
}

TEST(WeibullMle, AgreesWithAnIndependentFitter) {
    for (const ReferenceFit& row : kReferenceFits) {
        SCOPED_TRACE(row.name);
        const WeibullSample sample = AfterOrigin({row.failures, row.suspensions}, row.origin);
        const WeibullMle fit = FitWeibullMle(sample);
        EXPECT_LT(Relative(fit.shape, row.shape), 1e-9) << fit.shape;
        EXPECT_LT(Relative(fit.scale, row.scale), 1e-9) << fit.scale;
        EXPECT_LT(Relative(fit.negLogLikelihood, row.negLogLikelihood), 1e-12);
        EXPECT_LT(Relative(WeibullLife(fit.scale, fit.shape, 0.10), row.b10Life), 1e-9);

        const WeibullBounds bounds = FisherBounds95(sample, fit);
        const double got[] = {bounds.scale.lower, bounds.scale.upper, bounds.shape.lower,
                              bounds.shape.upper, bounds.b10.lower,   bounds.b10.upper};
        for (std::size_t i = 0; i < row.bounds.size(); ++i) {
            EXPECT_LT(Relative(got[i], row.bounds[i]), 1e-6) << "bound " << i << ": " << got[i];
        }
    }
}

TEST(WeibullMle, RefusesSamplesWithoutAMaximum) {
    const struct {
        const char* name;
        WeibullSample sample;
    } kRows[] = {
        {"NoFailure", {{}, {10, 20, 30}}},
        {"TimeAtTheOrigin", {{0.0, 10, 20}, {}}},
        {"NegativeSuspension", {{10, 20}, {-1}}},
        // Every failure at one time: the likelihood grows without bound as the shape does.
        {"AllFailuresTogether", {{50, 50, 50}, {}}},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.name);
        EXPECT_THROW(FitWeibullMle(row.sample), std::runtime_error);
    }
}

}  // namespace
}  // namespace tavrin21::host
