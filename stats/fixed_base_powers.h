#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace tavrin21 {

// Powers t^y of bases t fixed in advance, for exponents y that change: each is bit for bit
// portable::Pow(t, y), at the cost of pow's exponential half only, because the logarithm that
// pow takes of its base, split for the product with y, is taken once per base. The bases are
// copied.
class FixedBasePowers {
  public:
    explicit FixedBasePowers(std::span<const double> bases);

    std::size_t Size() const { return bases_.size(); }

    // powers[i] = Pow(bases[first + i], exponent) for i in [0, count).
    void Compute(double exponent, std::size_t first, std::size_t count, double* powers) const;

    // The powers of kSideBySide exponents at once, each base's side by side:
    // powers[kSideBySide * i + j] = Pow(bases[first + i], exponents[j]).
    static constexpr std::size_t kSideBySide = 4;
    void ComputeSideBySide(const double* exponents,
                           std::size_t first,
                           std::size_t count,
                           double* powers) const;

  private:
    std::vector<double> bases_;
    // pow's ln t as logHi + logLo, logHi of 26 significant bits. Held apart, so that the loop
    // over the bases reads two plain arrays.
    std::vector<double> logHi_;
    std::vector<double> logLo_;
    // Every base is positive, normal and finite, the case pow's common path takes as it is.
    bool basesOrdinary_ = true;
};

}  // namespace tavrin21
