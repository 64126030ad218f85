// The picture a real renderer (librsvg's rsvg-convert) makes of the probability plot, read back
// with libpng: the lines and points are drawn in their colours where the SVG puts them.

#include "host/probability_plot.h"
#include "tests/host/plot_reading.h"
#include "tests/support/scratch_directory.h"

#include <cstdlib>
#include <fstream>
#include <png.h>
#include <string>

#include <gtest/gtest.h>

namespace tavrin21::host {
namespace {

using namespace plot_reading;

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
