// The probability plot read back two ways: its SVG elements against the data through the
// labelled axes, and the picture a real renderer makes of it.

#include "host/probability_plot.h"

#include "tests/support/scratch_directory.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <png.h>
#include <string>

#include <gtest/gtest.h>

namespace tavrin21::host {
namespace {

// The ten-unit set of the published rank check, with the exact fit's line and a second line
// far enough from it to be told apart in the picture.
const WeibullSample kSample{{150, 560, 800, 1720, 5230, 6890}, {340, 1130, 2470, 4210}};
const double kPublishedRanks[] = {0.0673, 0.1741, 0.2810, 0.4056, 0.6134, 0.8211};
const FittedLine kExact{"exact", "exact-fit", "#1f77b4", 3926.8534253354296, 0.97206867225749538};
const FittedLine kOther{"other", "module-fit", "#d62728", 2500.0, 1.6};

const ProbabilityPlot kPlot{"Ten units & four suspended",
                            "time",
                            MedianRanks(kSample),
                            kSample.suspensions,
                            {kOther, kExact}};

// The attributes of every element of class `cls`, and its text under the key "".
std::vector<std::map<std::string, std::string>> Elements(const std::string& svg,
                                                         const std::string& cls) {
    std::vector<std::map<std::string, std::string>> found;
    const std::string marker = " class=\"" + cls + "\"";
    for (auto at = svg.find(marker); at != std::string::npos; at = svg.find(marker, at + 1)) {
        const auto end = svg.find('>', at);
        std::map<std::string, std::string> element{
            {"", svg.substr(end + 1, svg.find('<', end) - end - 1)}};
        for (auto equals = svg.find("=\"", at); equals < end;
             equals = svg.find("=\"", equals + 2)) {
            const auto name = svg.rfind(' ', equals) + 1;
            const auto close = svg.find('"', equals + 2);
            element[svg.substr(name, equals - name)] = svg.substr(equals + 2, close - equals - 2);
            equals = close;
        }
        found.push_back(element);
    }
    return found;
}

double Number(const std::map<std::string, std::string>& element, const std::string& name) {
    return std::stod(element.at(name));
}

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

// Whether a pixel within two of (px, py) has the colour #rrggbb, allowing for anti-aliasing.
bool ColourNear(
    const std::vector<png_byte>& rgb, int width, double px, double py, const std::string& colour) {
    const long want = std::stol(colour.substr(1), nullptr, 16);
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const png_byte* p =
                &rgb.at(3 * ((static_cast<int>(py) + dy) * width + static_cast<int>(px) + dx));
            const long distance = std::abs(p[0] - (want >> 16 & 0xff)) +
                                  std::abs(p[1] - (want >> 8 & 0xff)) +
                                  std::abs(p[2] - (want & 0xff));
            if (distance < 40) {
                return true;
            }
        }
    }
    return false;
}

TEST(ProbabilityPlot, RendersToThePictureItDescribes) {
    ASSERT_STRNE(TAVRIN21_RSVG_CONVERT, "") << "rsvg-convert is not installed (librsvg2-bin)";
    test::ScratchDirectory scratch;
    const std::string svg = ProbabilityPlotSvg(kPlot);
    std::ofstream(scratch / "plot.svg") << svg;
    const std::string command = std::string(TAVRIN21_RSVG_CONVERT) + " -o '" +
                                (scratch / "plot.png").string() + "' '" +
                                (scratch / "plot.svg").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, (scratch / "plot.png").c_str()))
        << image.message;
    ASSERT_EQ(image.width, static_cast<unsigned>(kPlotWidth));
    ASSERT_EQ(image.height, static_cast<unsigned>(kPlotHeight));
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    const png_color white{255, 255, 255};  // under transparent pixels
    ASSERT_TRUE(png_image_finish_read(&image, &white, rgb.data(), 0, nullptr)) << image.message;

    for (const FittedLine& line : {kExact, kOther}) {
        const auto drawn = Elements(svg, line.cssClass).at(0);
        for (const double share : {0.25, 0.5, 0.75}) {
            const double px =
                Number(drawn, "x1") + share * (Number(drawn, "x2") - Number(drawn, "x1"));
            const double py =
                Number(drawn, "y1") + share * (Number(drawn, "y2") - Number(drawn, "y1"));
            EXPECT_TRUE(ColourNear(rgb, kPlotWidth, px, py, line.colour))
                << line.cssClass << " at " << share;
        }
    }
    for (const auto& point : Elements(svg, "failure")) {
        EXPECT_TRUE(
            ColourNear(rgb, kPlotWidth, Number(point, "cx"), Number(point, "cy"), "#2ca02c"))
            << point.at("cx");
    }
}

}  // namespace
}  // namespace tavrin21::host
