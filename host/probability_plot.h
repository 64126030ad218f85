#pragma once

// A Weibull probability plot as an SVG document: the failures at their median ranks,
// the suspensions on the time axis, and fitted lines.

#include "host/median_ranks.h"

#include <string>
#include <vector>

namespace tavrin21::host {

struct FittedLine {
    std::string label;  // for the legend
    std::string cssClass;
    std::string colour;  // an SVG colour, e.g. "#1f77b4"
    double scale = 0.0;
    double shape = 0.0;
};

struct ProbabilityPlot {
    std::string title;
    std::string timeLabel;
    std::vector<RankedFailure> failures;
    std::vector<double> suspensions;
    std::vector<FittedLine> lines;
};

inline constexpr int kPlotWidth = 800;
inline constexpr int kPlotHeight = 620;

// The whole SVG document. Throws std::invalid_argument when there is no time to plot or a
// time is not positive.
std::string ProbabilityPlotSvg(const ProbabilityPlot& plot);

}  // namespace tavrin21::host
