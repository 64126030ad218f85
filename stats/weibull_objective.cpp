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

// Points are evaluated in blocks: what each takes once is made for the whole block together. A
// multiple of the points whose sums are made side by side.
constexpr std::size_t kPointBlock = 64;

// Points whose sums are added side by side: two groups of the points whose powers are made side
// by side. Their sums are independent, which the processor overlaps while each waits on its
// previous term.
constexpr std::size_t kSideBySide = 2 * FixedBasePowers::kSideBySide;
static_assert(kPointBlock % kSideBySide == 0);

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
        if (k < n) {
            // The last points, too few for a group, fill one up with copies of the first of
            // them, whose sums are dropped: cheaper than taking them one at a time.
            for (double* column : {beta, c, logBeta, logC}) {
                std::fill(column + n, column + k + kSideBySide, column[k]);
            }
            double sums[kSideBySide];
            SumsSideBySide(beta + k, c + k, logBeta + k, logC + k, sums);
            for (std::size_t j = 0; k + j < n; ++j) {
                values[first + k + j] = sums[j];
            }
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
    // A lane per point, each doing what SumOfTerms does for its point, in its order: two groups
    // of FixedBasePowers::kSideBySide points, a and b, whose sums are independent.
    constexpr std::size_t group = FixedBasePowers::kSideBySide;
    using Lanes = double __attribute__((vector_size(group * sizeof(double))));
    const auto load = [](Lanes& lanes, const double* from) {
        std::memcpy(&lanes, from, sizeof lanes);
    };
    Lanes betaLess1A, betaLess1B, logBetaA, logBetaB, logCA, logCB, cA, cB, powerA, powerB;
    load(betaLess1A, beta);
    load(betaLess1B, beta + group);
    betaLess1A -= 1;
    betaLess1B -= 1;
    load(logBetaA, logBeta);
    load(logBetaB, logBeta + group);
    load(logCA, logC);
    load(logCB, logC + group);
    load(cA, c);
    load(cB, c + group);
    Lanes sumA{}, sumB{};
    const std::size_t failureCount = logFailures_.size();
    double powersA[kTimeBlock * group], powersB[kTimeBlock * group];
    for (std::size_t first = 0; first < powers_.Size(); first += kTimeBlock) {
        const std::size_t count = std::min(kTimeBlock, powers_.Size() - first);
        powers_.ComputeSideBySide(beta, first, count, powersA);
        powers_.ComputeSideBySide(beta + group, first, count, powersB);
        const std::size_t failuresHere =
            first < failureCount ? std::min(count, failureCount - first) : 0;
        for (std::size_t i = 0; i < failuresHere; ++i) {
            const double logFailure = logFailures_[first + i];
            load(powerA, powersA + group * i);
            load(powerB, powersB + group * i);
            sumA = sumA - ((betaLess1A * logFailure + logBetaA + logCA) - powerA * cA);
            sumB = sumB - ((betaLess1B * logFailure + logBetaB + logCB) - powerB * cB);
        }
        for (std::size_t i = failuresHere; i < count; ++i) {
            load(powerA, powersA + group * i);
            load(powerB, powersB + group * i);
            sumA = sumA + powerA * cA;
            sumB = sumB + powerB * cB;
        }
    }
    std::memcpy(sums, &sumA, sizeof sumA);
    std::memcpy(sums + group, &sumB, sizeof sumB);
}

}  // namespace tavrin21
