#pragma once

// Weibull probability paper: log time across, ln(-ln(1 - F)) up, so that a Weibull
// distribution is a straight line of slope equal to its shape.

#include <vector>

namespace tavrin21::host {

struct PlotArea {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
};

struct Tick {
    double value = 0.0;     // a time, or a fraction failed
    double position = 0.0;  // x or y in the drawing
};

class WeibullPaper {
  public:
    // Whole decades around `times` (all positive) across; fractions failed up the page from
    // at most 1 % to at least 99 %, widened to hold `fractions`. Throws std::invalid_argument
    // for no times or a time that is not positive.
    WeibullPaper(const std::vector<double>& times,
                 const std::vector<double>& fractions,
                 PlotArea area);

    double X(double time) const;
    double Y(double fraction) const;
    double TimeMin() const { return timeMin_; }
    double TimeMax() const { return timeMax_; }
    double FractionMin() const { return fractionMin_; }
    double FractionMax() const { return fractionMax_; }
    const PlotArea& Area() const { return area_; }

    // 1, 2 and 5 of every decade; the usual fractions from 0.1 % to 99.9 %, 63.2 % among them.
    std::vector<Tick> TimeTicks() const;
    std::vector<Tick> FractionTicks() const;

  private:
    PlotArea area_;
    double timeMin_ = 1.0, timeMax_ = 10.0;
    double fractionMin_ = 0.01, fractionMax_ = 0.99;
};

// ln(-ln(1 - F)): the paper's vertical coordinate before scaling.
double WeibullTransform(double fraction);

}  // namespace tavrin21::host
