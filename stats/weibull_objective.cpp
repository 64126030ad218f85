#include "stats/weibull_objective.h"

#include "stats/portable_math.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace tavrin21 {
namespace {

// The powers of the times are made a block at a time, apart from the sum, so that the
// independent powers overlap in the processor while the sum waits on its previous term. Points
// are evaluated in blocks of the same size.
constexpr std::size_t kBlock = 64;

// Points whose sums are added side by side: independent sums, which the processor overlaps
// while each waits on its previous term.
constexpr std::size_t kSideBySide = FixedBasePowers::kSideBySide;

std::vector<double> Concatenated(std::span<const double> first, std::span<const double> second) {
    std::vector<double> both(first.begin(), first.end());
    both.insert(both.end(), second.begin(), second.end());
    return both;
}

}  // namespace

WeibullObjective::WeibullObjective(std::span<const double> failures,
                                   std::span<const double> suspensions)
    : powers_(Concatenated(failures, suspensions)), logFailures_(failures.size()) {
    for (std::size_t i = 0; i < failures.size(); ++i) {
        logFailures_[i] = portable::Log(failures[i]);
    }
}

double WeibullObjective::operator()(const double* point) const {
    const double beta = point[1];
    const double c = portable::Pow(1.0 / point[0], beta);
    const double logBeta = portable::Log(beta);
    const double logC = portable::Log(c);
    double sum = 0.0;
    SumsOfTerms<1>(&beta, &c, &logBeta, &logC, &sum);
    return sum;
}

void WeibullObjective::Evaluate(const double* const* points,
                                std::int32_t count,
                                double* values) const {
    double inverseEta[kBlock], beta[kBlock], c[kBlock], logBeta[kBlock], logC[kBlock];
    const auto total = static_cast<std::size_t>(std::max(count, 0));
    for (std::size_t first = 0; first < total; first += kBlock) {
        const std::size_t n = std::min(kBlock, total - first);
        for (std::size_t k = 0; k < n; ++k) {
            inverseEta[k] = 1.0 / points[first + k][0];
            beta[k] = points[first + k][1];
        }
        portable::PowEach(inverseEta, beta, n, c);
        portable::LogEach(beta, n, logBeta);
        portable::LogEach(c, n, logC);
        std::size_t k = 0;
        for (; k + kSideBySide <= n; k += kSideBySide) {
            SumsOfTerms<kSideBySide>(beta + k, c + k, logBeta + k, logC + k, values + first + k);
        }
        for (; k < n; ++k) {
            SumsOfTerms<1>(beta + k, c + k, logBeta + k, logC + k, values + first + k);
        }
    }
}

template <std::size_t points>
void WeibullObjective::SumsOfTerms(const double* beta,
                                   const double* c,
                                   const double* logBeta,
                                   const double* logC,
                                   double* sums) const {
    const std::size_t failureCount = logFailures_.size();
    double powers[kBlock * points];
    double sum[points] = {};
    for (std::size_t first = 0; first < powers_.Size(); first += kBlock) {
        const std::size_t count = std::min(kBlock, powers_.Size() - first);
        if constexpr (points == 1) {
            powers_.Compute(beta[0], first, count, powers);
        } else {
            powers_.ComputeSideBySide(beta, first, count, powers);
        }
        const std::size_t failuresHere =
            first < failureCount ? std::min(count, failureCount - first) : 0;
        for (std::size_t i = 0; i < failuresHere; ++i) {
            for (std::size_t j = 0; j < points; ++j) {
                sum[j] = sum[j] - (((beta[j] - 1) * logFailures_[first + i] + logBeta[j] + logC[j]) -
                                   powers[points * i + j] * c[j]);
            }
        }
        for (std::size_t i = failuresHere; i < count; ++i) {
            for (std::size_t j = 0; j < points; ++j) {
                sum[j] = sum[j] + powers[points * i + j] * c[j];
            }
        }
    }
    std::copy_n(sum, points, sums);
}

}  // namespace tavrin21
