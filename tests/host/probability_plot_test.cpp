// The probability plot read back two ways: its SVG elements against the data through the
// labelled axes, and the picture a real renderer makes of it.

#include "host/probability_plot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <string>

#include <png.h>

#include "tests/support/scratch_directory.h"

namespace tavrin21::host {
namespace {

// The ten-unit set of the published rank check, with the exact fit's line and a second line
// far enough from it to be told apart in the picture.
const WeibullSample kSample{{150, 560, 800, 1720, 5230, 6890}, {340, 1130, 2470, 4210}};
const double kPublishedRanks[] = {0.0673, 0.1741, 0.2810, 0.4056, 0.6134, 0.8211};
const FittedLine kExact{"exact", "exact-fit", "#1f77b4", 3926.8534253354296, 0.97206867225749538};
const FittedLine kOther{"other", "module-fit", "#d62728", 2500.0, 1.6};

ProbabilityPlot TenUnitPlot() {
    return {"Ten units & four suspended", "time", MedianRanks(kSample), kSample.suspensions,
            {kOther, kExact}};
}

std::vector<std::map<std::string, std::string>> Elements(const std::string& svg, const std::string& cls) {
    std::vector<std::map<std::string, std::string>> found;
    const std::regex element("<\\w+ class=\"" + cls + "\"([^>]*)>");
    const std::regex attribute("([\\w-]+)=\"([^\"]*)\"");
    for (auto e = std::sregex_iterator(svg.begin(), svg.end(), element); e != std::sregex_iterator(); ++e) {
        const std::string attributes = (*e)[1];
        std::map<std::string, std::string> values;
        for (auto a = std::sregex_iterator(attributes.begin(), attributes.end(), attribute);
             a != std::sregex_iterator(); ++a) {
            values[(*a)[1]] = (*a)[2];
        }
        found.push_back(values);
    }
    return found;
}

double Number(const std::map<std::string, std::string>& element, const std::string& name) {
    return std::stod(element.at(name));
}

// A straight map from a transformed value to a drawing coordinate, through the outermost grid
// lines of one axis.
struct Axis {
    double (*transform)(double);
    double value0, position0, value1, position1;
    double To(double value) const {
        const double share = (transform(value) - transform(value0)) / (transform(value1) - transform(value0));
        return position0 + share * (position1 - position0);
    }
    double From(double position) const {
        const double share = (position - position0) / (position1 - position0);
        const double t = transform(value0) + share * (transform(value1) - transform(value0));
        for (double low = value0, high = value1, mid = 0;;) {  // invert by bisection
            mid = (low + high) / 2;
            if (std::abs(high - low) < 1e-12 * std::abs(mid)) {
                return mid;
            }
            ((transform(mid) < t) == (transform(value0) < transform(value1)) ? low : high) = mid;
        }
    }
};

double LogTime(double time) { return std::log(time); }
double WeibullF(double fraction) { return std::log(-std::log1p(-fraction)); }

Axis AxisOf(const std::string& svg, const std::string& grid, const char* coordinate, double (*transform)(double)) {
    const auto lines = Elements(svg, grid);
    EXPECT_GE(lines.size(), 3u) << grid;
    const auto& first = lines.front();
    const auto& last = lines.back();
    return {transform, Number(first, "data-value"), Number(first, coordinate), Number(last, "data-value"),
            Number(last, coordinate)};
}

// Every grid line has a label beside it that reads as its value (fractions in per cent).
void ExpectLabelled(const std::string& svg, const std::string& axis, const std::string& coordinate, double unit) {
    std::map<std::string, std::string> labels;
    const std::regex label("<text class=\"" + axis + "-tick\"[^>]* " + coordinate + "=\"([^\"]+)\"[^>]*>([^<]+)<");
    for (auto l = std::sregex_iterator(svg.begin(), svg.end(), label); l != std::sregex_iterator(); ++l) {
        labels[(*l)[1]] = (*l)[2];
    }
    for (const auto& grid : Elements(svg, axis + "-grid")) {
        const std::string at = grid.at(coordinate + "1");
        ASSERT_TRUE(labels.count(at)) << axis << " grid line at " << at << " has no label";
        EXPECT_DOUBLE_EQ(std::stod(labels[at]), Number(grid, "data-value") * unit) << at;
    }
}

TEST(ProbabilityPlot, PointsAndLinesSitWhereTheLabelledAxesPutTheData) {
    const std::string svg = ProbabilityPlotSvg(TenUnitPlot());
    const Axis x = AxisOf(svg, "time-grid", "x1", LogTime);
    const Axis y = AxisOf(svg, "fraction-grid", "y1", WeibullF);
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
            const double time = x.From(Number(drawn[0], px));
            const double expected = -std::expm1(-std::pow(time / line.scale, line.shape));
            EXPECT_NEAR(Number(drawn[0], py), y.To(expected), 0.02) << px;
        }
    }
}

struct Picture {
    png_uint_32 width = 0, height = 0;
    std::vector<png_byte> rgb;
    const png_byte* At(int px, int py) const { return &rgb[3 * (static_cast<std::size_t>(py) * width + px)]; }
};

Picture ReadPng(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Picture picture;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        ADD_FAILURE() << "cannot read " << path << ": " << image.message;
        return picture;
    }
    image.format = PNG_FORMAT_RGB;
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    png_color white{255, 255, 255};  // the background transparent pixels are shown on
    if (!png_image_finish_read(&image, &white, picture.rgb.data(), 0, nullptr)) {
        ADD_FAILURE() << "cannot decode " << path << ": " << image.message;
    }
    picture.width = image.width;
    picture.height = image.height;
    return picture;
}

// Whether a pixel within two of (px, py) has the colour #rrggbb, allowing for anti-aliasing.
bool ColourNear(const Picture& picture, double px, double py, const std::string& colour) {
    const long want = std::stol(colour.substr(1), nullptr, 16);
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const png_byte* p = picture.At(static_cast<int>(px) + dx, static_cast<int>(py) + dy);
            if (std::abs(p[0] - (want >> 16 & 0xff)) + std::abs(p[1] - (want >> 8 & 0xff)) +
                    std::abs(p[2] - (want & 0xff)) < 40) {
                return true;
            }
        }
    }
    return false;
}

TEST(ProbabilityPlot, RendersToThePictureItDescribes) {
    const char* ci = std::getenv("CI");
    if (std::string(TAVRIN21_RSVG_CONVERT).empty() && !(ci && std::string(ci) == "true")) {
        GTEST_SKIP() << "rsvg-convert is not installed (Debian package librsvg2-bin)";
    }
    test::ScratchDirectory scratch;
    const std::string svg = ProbabilityPlotSvg(TenUnitPlot());
    std::ofstream(scratch / "plot.svg") << svg;
    const std::string command = std::string(TAVRIN21_RSVG_CONVERT) + " -o '" + (scratch / "plot.png").string() +
                                "' '" + (scratch / "plot.svg").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const Picture picture = ReadPng((scratch / "plot.png").string());
    ASSERT_EQ(picture.width, static_cast<png_uint_32>(kPlotWidth));
    ASSERT_EQ(picture.height, static_cast<png_uint_32>(kPlotHeight));

    std::size_t inked = 0;
    for (std::size_t i = 0; i < picture.rgb.size(); i += 3) {
        inked += picture.rgb[i] + picture.rgb[i + 1] + picture.rgb[i + 2] < 600;
    }
    EXPECT_GT(inked, picture.rgb.size() / 3 / 50) << "almost blank";

    for (const FittedLine& line : {kExact, kOther}) {
        const auto drawn = Elements(svg, line.cssClass).at(0);
        for (const double share : {0.25, 0.5, 0.75}) {
            const double px = Number(drawn, "x1") + share * (Number(drawn, "x2") - Number(drawn, "x1"));
            const double py = Number(drawn, "y1") + share * (Number(drawn, "y2") - Number(drawn, "y1"));
            EXPECT_TRUE(ColourNear(picture, px, py, line.colour)) << line.cssClass << " at " << share;
        }
    }
    for (const auto& point : Elements(svg, "failure")) {
        EXPECT_TRUE(ColourNear(picture, Number(point, "cx"), Number(point, "cy"), "#2ca02c")) << point.at("cx");
    }
}

}  // namespace
}  // namespace tavrin21::host
