// The probability plot's SVG elements read back against the data through the labelled axes.

#include "host/probability_plot.h"

#include "tests/host/plot_reading.h"

#include <cmath>
#include <map>
#include <string>

#include <gtest/gtest.h>

namespace tavrin21::host {
namespace {

using namespace plot_reading;

// The drawing coordinate of a value, by straight interpolation of transform(value) between the
// outermost grid lines of an axis; and the time at a horizontal position.
struct Axis {
    double (*transform)(double);
    double value0, at0, value1, at1;
    double To(double v) const {
        return at0 + (transform(v) - transform(value0)) / (transform(value1) - transform(value0)) *
                         (at1 - at0);
    }
    double TimeAt(double x) const {
        return value0 * std::pow(value1 / value0, (x - at0) / (at1 - at0));
    }
};

Axis AxisOf(const std::string& svg,
            const std::string& grid,
            const std::string& coordinate,
            double (*transform)(double)) {
    const auto lines = Elements(svg, grid);
    return {transform, Number(lines.front(), "data-value"), Number(lines.front(), coordinate),
            Number(lines.back(), "data-value"), Number(lines.back(), coordinate)};
}

// Every grid line has a label beside it that reads as its value (fractions in per cent).
void ExpectLabelled(const std::string& svg,
                    const std::string& axis,
                    const std::string& coordinate,
                    double unit) {
    std::map<std::string, std::string> labels;
    for (const auto& label : Elements(svg, axis + "-tick")) {
        labels[label.at(coordinate)] = label.at("");
    }
    for (const auto& grid : Elements(svg, axis + "-grid")) {
        const std::string at = grid.at(coordinate + "1");
        ASSERT_TRUE(labels.count(at)) << axis << " grid line at " << at << " has no label";
        EXPECT_DOUBLE_EQ(std::stod(labels[at]), Number(grid, "data-value") * unit) << at;
    }
}

TEST(ProbabilityPlot, PointsAndLinesSitWhereTheLabelledAxesPutTheData) {
    const std::string svg = ProbabilityPlotSvg(kPlot);
    const Axis x = AxisOf(svg, "time-grid", "x1", [](double t) { return std::log(t); });
    const Axis y =
        AxisOf(svg, "fraction-grid", "y1", [](double f) { return std::log(-std::log1p(-f)); });
    ExpectLabelled(svg, "time", "x", 1.0);
    ExpectLabelled(svg, "fraction", "y", 100.0);
    EXPECT_NE(svg.find("Ten units &amp; four suspended"), std::string::npos);

    const auto points = Elements(svg, "failure");
    ASSERT_EQ(points.size(), std::size(kPublishedRanks));
    for (std::size_t i = 0; i < points.size(); ++i) {
        SCOPED_TRACE("failure " + std::to_string(i));
        EXPECT_NEAR(Number(points[i], "cx"), x.To(kSample.failures[i]), 0.01);
        EXPECT_NEAR(Number(points[i], "cy"), y.To(kPublishedRanks[i]), 0.2);
    }
    const auto suspensions = Elements(svg, "suspension");
    ASSERT_EQ(suspensions.size(), kSample.suspensions.size());
    for (std::size_t i = 0; i < suspensions.size(); ++i) {
        EXPECT_NEAR(Number(suspensions[i], "data-x"), x.To(kSample.suspensions[i]), 0.01) << i;
    }
    for (const FittedLine& line : {kExact, kOther}) {
        SCOPED_TRACE(line.cssClass);
        const auto drawn = Elements(svg, line.cssClass);
        ASSERT_EQ(drawn.size(), 1u);
        for (const auto& [px, py] : {std::pair{"x1", "y1"}, std::pair{"x2", "y2"}}) {
            const double time = x.TimeAt(Number(drawn[0], px));
            const double expected = -std::expm1(-std::pow(time / line.scale, line.shape));
            EXPECT_NEAR(Number(drawn[0], py), y.To(expected), 0.02) << px;
        }
    }
}

}  // namespace
}  // namespace tavrin21::host
