#include "host/weibull_paper.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tavrin21::host {

namespace {

constexpr double kFractionTicks[] = {0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1,  0.2,  0.3,
                                     0.4,   0.5,   0.632, 0.8,  0.9,  0.95, 0.99, 0.999};

}  // namespace

double WeibullTransform(double fraction) {
    return std::log(-std::log1p(-fraction));
}

WeibullPaper::WeibullPaper(const std::vector<double>& times,
                           const std::vector<double>& fractions,
                           PlotArea area)
    : area_(area) {
    if (times.empty()) {
        throw std::invalid_argument("a probability plot needs at least one time");
    }
    const auto [lowest, highest] = std::minmax_element(times.begin(), times.end());
    if (!(*lowest > 0.0)) {
        throw std::invalid_argument("a probability plot needs times above zero");
    }
    timeMin_ = std::pow(10.0, std::floor(std::log10(*lowest)));
    timeMax_ = std::pow(10.0, std::ceil(std::log10(*highest)));
    if (timeMax_ <= timeMin_) {
        timeMax_ = timeMin_ * 10.0;
    }

    double lowFraction = 0.01, highFraction = 0.99;
    for (const double fraction : fractions) {
        lowFraction = std::min(lowFraction, fraction);
        highFraction = std::max(highFraction, fraction);
    }
    fractionMin_ = kFractionTicks[0];
    fractionMax_ = std::end(kFractionTicks)[-1];
    for (const double tick : kFractionTicks) {
        if (tick <= lowFraction) {
            fractionMin_ = tick;
        }
    }
    for (auto tick = std::rbegin(kFractionTicks); tick != std::rend(kFractionTicks); ++tick) {
        if (*tick >= highFraction) {
            fractionMax_ = *tick;
        }
    }
}

double WeibullPaper::X(double time) const {
    const double share = std::log(time / timeMin_) / std::log(timeMax_ / timeMin_);
    return area_.left + share * (area_.right - area_.left);
}

double WeibullPaper::Y(double fraction) const {
    const double low = WeibullTransform(fractionMin_);
    const double share =
        (WeibullTransform(fraction) - low) / (WeibullTransform(fractionMax_) - low);
    return area_.bottom - share * (area_.bottom - area_.top);
}

std::vector<Tick> WeibullPaper::TimeTicks() const {
    std::vector<Tick> ticks;
    const long firstDecade = std::lround(std::log10(timeMin_));
    const long lastDecade = std::lround(std::log10(timeMax_));
    for (long decade = firstDecade; decade <= lastDecade; ++decade) {
        for (const double multiple : {1.0, 2.0, 5.0}) {
            const double time = multiple * std::pow(10.0, static_cast<double>(decade));
            if (time <= timeMax_ * (1 + 1e-9)) {
                ticks.push_back({time, X(time)});
            }
        }
    }
    return ticks;
}

std::vector<Tick> WeibullPaper::FractionTicks() const {
    std::vector<Tick> ticks;
    for (const double fraction : kFractionTicks) {
        if (fraction >= fractionMin_ && fraction <= fractionMax_) {
            ticks.push_back({fraction, Y(fraction)});
        }
    }
    return ticks;
}

}  // namespace tavrin21::host
