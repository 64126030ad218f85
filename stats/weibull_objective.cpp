#include "stats/weibull_objective.h"

#include "stats/portable_math.h"
#include "stats/wide_vectors.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace tavrin21 {
namespace {

// The powers of the times are made a block at a time, apart from the sum, so that the
// independent powers overlap in the processor while the sum waits on its previous term.
constexpr std::size_t kTimeBlock = 128;

// Points are evaluated in blocks: what each takes once is made for the whole block together.
constexpr std::size_t kPointBlock = 64;

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
    return SumOfTerms(beta, c, portable::Log(beta), portable::Log(c));
}

void WeibullObjective::Evaluate(const double* const* points,
                                std::int32_t count,
                                double* values) const {
    double inverseEta[kPointBlock], beta[kPointBlock], c[kPointBlock], logBeta[kPointBlock],
        logC[kPointBlock];
    const auto total = static_cast<std::size_t>(std::max(count, 0));
    for (std::size_t first = 0; first < total; first += kPointBlock) {
        const std::size_t n = std::min(kPointBlock, total - first);
        for (std::size_t k = 0; k < n; ++k) {
            inverseEta[k] = 1.0 / points[first + k][0];
            beta[k] = points[first + k][1];
        }
        portable::PowEach(inverseEta, beta, n, c);
        portable::LogEach(beta, n, logBeta);
        portable::LogEach(c, n, logC);
        std::size_t k = 0;
        for (; k + kSideBySide <= n; k += kSideBySide) {
            SumsSideBySide(beta + k, c + k, logBeta + k, logC + k, values + first + k);
        }
        for (; k < n; ++k) {
            values[first + k] = SumOfTerms(beta[k], c[k], logBeta[k], logC[k]);
        }
    }
}

double WeibullObjective::SumOfTerms(double beta, double c, double logBeta, double logC) const {
    const std::size_t failureCount = logFailures_.size();
    double powers[kTimeBlock];
    double sum = 0.0;
    for (std::size_t first = 0; first < powers_.Size(); first += kTimeBlock) {
        const std::size_t count = std::min(kTimeBlock, powers_.Size() - first);
        powers_.Compute(beta, first, count, powers);
        const std::size_t failuresHere =
            first < failureCount ? std::min(count, failureCount - first) : 0;
        for (std::size_t i = 0; i < failuresHere; ++i) {
            sum = sum - (((beta - 1) * logFailures_[first + i] + logBeta + logC) - powers[i] * c);
        }
        for (std::size_t i = failuresHere; i < count; ++i) {
            sum = sum + powers[i] * c;
        }
    }
    return sum;
}

TAVRIN21_WIDE_VECTORS void WeibullObjective::SumsSideBySide(const double* beta,
                                                            const double* c,
                                                            const double* logBeta,
                                                            const double* logC,
                                                            double* sums) const {
    // A lane per point, each doing what SumOfTerms does for its point, in its order.
    using Lanes = double __attribute__((vector_size(kSideBySide * sizeof(double))));
    Lanes betaLess1, logBetas, logCs, cs, sum{};
    std::memcpy(&betaLess1, beta, sizeof betaLess1);
    betaLess1 -= 1;
    std::memcpy(&logBetas, logBeta, sizeof logBetas);
    std::memcpy(&logCs, logC, sizeof logCs);
    std::memcpy(&cs, c, sizeof cs);
    const std::size_t failureCount = logFailures_.size();
    double powers[kTimeBlock * kSideBySide];
    for (std::size_t first = 0; first < powers_.Size(); first += kTimeBlock) {
        const std::size_t count = std::min(kTimeBlock, powers_.Size() - first);
        powers_.ComputeSideBySide(beta, first, count, powers);
        const std::size_t failuresHere =
            first < failureCount ? std::min(count, failureCount - first) : 0;
        Lanes power;
        for (std::size_t i = 0; i < failuresHere; ++i) {
            std::memcpy(&power, powers + kSideBySide * i, sizeof power);
            sum = sum - ((betaLess1 * logFailures_[first + i] + logBetas + logCs) - power * cs);
        }
        for (std::size_t i = failuresHere; i < count; ++i) {
            std::memcpy(&power, powers + kSideBySide * i, sizeof power);
            sum = sum + power * cs;
        }
    }
    std::memcpy(sums, &sum, sizeof sum);
}

}  // namespace tavrin21
