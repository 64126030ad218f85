#include "host/probability_plot.h"

#include "host/weibull_paper.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace tavrin21::host {

namespace {

constexpr PlotArea kArea{90.0, 60.0, 770.0, 500.0};
constexpr const char* kFailureColour = "#2ca02c";
constexpr const char* kGridColour = "#d0d0d0";

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

std::string Label(double value, const char* format) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Escaped(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&apos;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

WeibullPaper PaperFor(const ProbabilityPlot& plot) {
    std::vector<double> times = plot.suspensions;
    std::vector<double> fractions;
    for (const RankedFailure& failure : plot.failures) {
        times.push_back(failure.time);
        fractions.push_back(failure.medianRank);
    }
    return WeibullPaper(times, fractions, kArea);
}

// Grid lines carry the value they stand for, so that the drawing can be read back.
void WriteGridAndTicks(std::ostream& svg, const WeibullPaper& paper) {
    const PlotArea& a = paper.Area();
    svg << "<g id=\"time-ticks\" font-size=\"12\" text-anchor=\"middle\">\n";
    for (const Tick& tick : paper.TimeTicks()) {
        const std::string x = Number(tick.position);
        svg << "<line class=\"time-grid\" data-value=\"" << Label(tick.value, "%.6g") << "\" x1=\""
            << x << "\" y1=\"" << Number(a.top) << "\" x2=\"" << x << "\" y2=\""
            << Number(a.bottom + 5) << "\" stroke=\"" << kGridColour
            << "\"/><text class=\"time-tick\" x=\"" << x << "\" y=\"" << Number(a.bottom + 20)
            << "\">" << Label(tick.value, "%g") << "</text>\n";
    }
    svg << "</g>\n<g id=\"fraction-ticks\" font-size=\"12\" text-anchor=\"end\">\n";
    for (const Tick& tick : paper.FractionTicks()) {
        const std::string y = Number(tick.position);
        svg << "<line class=\"fraction-grid\" data-value=\"" << Label(tick.value, "%.6g")
            << "\" x1=\"" << Number(a.left - 5) << "\" y1=\"" << y << "\" x2=\"" << Number(a.right)
            << "\" y2=\"" << y << "\" stroke=\"" << kGridColour
            << "\"/><text class=\"fraction-tick\" x=\"" << Number(a.left - 8) << "\" y=\"" << y
            << "\" dy=\"4\">" << Label(tick.value * 100.0, "%g") << "</text>\n";
    }
    svg << "</g>\n";
}

// The part of the line F(t) = 1 - exp(-(t/scale)^shape) inside the paper, or nothing.
void WriteFittedLine(std::ostream& svg, const WeibullPaper& paper, const FittedLine& line) {
    auto timeAt = [&](double fraction) {
        return line.scale * std::exp(WeibullTransform(fraction) / line.shape);
    };
    const double from = std::max(paper.TimeMin(), timeAt(paper.FractionMin()));
    const double to = std::min(paper.TimeMax(), timeAt(paper.FractionMax()));
    if (!(from < to)) {
        return;
    }
    auto fractionAt = [&](double time) {
        return -std::expm1(-std::pow(time / line.scale, line.shape));
    };
    svg << "<line class=\"" << line.cssClass << "\" x1=\"" << Number(paper.X(from)) << "\" y1=\""
        << Number(paper.Y(fractionAt(from))) << "\" x2=\"" << Number(paper.X(to)) << "\" y2=\""
        << Number(paper.Y(fractionAt(to))) << "\" stroke=\"" << line.colour
        << "\" stroke-width=\"2\"/>\n";
}

void WriteData(std::ostream& svg, const WeibullPaper& paper, const ProbabilityPlot& plot) {
    svg << "<g id=\"failures\" fill=\"" << kFailureColour << "\">\n";
    for (const RankedFailure& failure : plot.failures) {
        svg << "<circle class=\"failure\" cx=\"" << Number(paper.X(failure.time)) << "\" cy=\""
            << Number(paper.Y(failure.medianRank)) << "\" r=\"4.5\"/>\n";
    }
    svg << "</g>\n<g id=\"suspensions\" fill=\"none\" stroke=\"black\">\n";
    const double base = paper.Area().bottom;
    for (const double time : plot.suspensions) {
        const double x = paper.X(time);
        svg << "<path class=\"suspension\" data-x=\"" << Number(x) << "\" d=\"M" << Number(x) << ','
            << Number(base) << " l-5,-10 h10 z\"/>\n";
    }
    svg << "</g>\n";
}

// Below the axis label, outside the paper, so that it hides no point and no line: the
// entries in two columns.
void WriteLegend(std::ostream& svg, const ProbabilityPlot& plot) {
    const double top = kArea.bottom + 62;
    std::size_t entry = 0;
    auto place = [&](double& x, double& y) {
        x = kArea.left + (entry % 2 == 0 ? 0.0 : 360.0);
        y = top + 22.0 * static_cast<double>(entry / 2) + 16;
        ++entry;
    };
    double x = 0, y = 0;
    svg << "<g id=\"legend\" font-size=\"13\">\n";
    place(x, y);
    svg << "<circle cx=\"" << Number(x + 18) << "\" cy=\"" << Number(y - 4)
        << "\" r=\"4.5\" fill=\"" << kFailureColour << "\"/><text x=\"" << Number(x + 40)
        << "\" y=\"" << Number(y) << "\">failures at median ranks</text>\n";
    place(x, y);
    svg << "<path d=\"M" << Number(x + 18) << ',' << Number(y + 2)
        << " l-5,-10 h10 z\" fill=\"none\" stroke=\"black\"/><text x=\"" << Number(x + 40)
        << "\" y=\"" << Number(y) << "\">suspensions, on the time axis</text>\n";
    for (const FittedLine& line : plot.lines) {
        place(x, y);
        svg << "<line x1=\"" << Number(x + 4) << "\" y1=\"" << Number(y - 4) << "\" x2=\""
            << Number(x + 32) << "\" y2=\"" << Number(y - 4) << "\" stroke=\"" << line.colour
            << "\" stroke-width=\"2\"/><text x=\"" << Number(x + 40) << "\" y=\"" << Number(y)
            << "\">" << Escaped(line.label) << "</text>\n";
    }
    svg << "</g>\n";
}

}  // namespace

std::string ProbabilityPlotSvg(const ProbabilityPlot& plot) {
    const WeibullPaper paper = PaperFor(plot);
    const PlotArea& a = paper.Area();
    std::ostringstream svg;
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kPlotWidth << "\" height=\""
        << kPlotHeight << "\" viewBox=\"0 0 " << kPlotWidth << ' ' << kPlotHeight
        << "\" font-family=\"sans-serif\">\n"
        << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
        << "<text id=\"title\" x=\"" << kPlotWidth / 2 << "\" y=\"32\" font-size=\"18\" "
        << "text-anchor=\"middle\">" << Escaped(plot.title) << "</text>\n";
    WriteGridAndTicks(svg, paper);
    svg << "<rect x=\"" << Number(a.left) << "\" y=\"" << Number(a.top) << "\" width=\""
        << Number(a.right - a.left) << "\" height=\"" << Number(a.bottom - a.top)
        << "\" fill=\"none\" stroke=\"black\"/>\n"
        << "<text x=\"" << Number((a.left + a.right) / 2) << "\" y=\"" << Number(a.bottom + 45)
        << "\" font-size=\"14\" text-anchor=\"middle\">" << Escaped(plot.timeLabel) << "</text>\n"
        << "<text transform=\"translate(28 " << Number((a.top + a.bottom) / 2)
        << ") rotate(-90)\" font-size=\"14\" text-anchor=\"middle\">"
        << "fraction failed F(t), % (Weibull scale)</text>\n";
    for (const FittedLine& line : plot.lines) {
        WriteFittedLine(svg, paper, line);
    }
    WriteData(svg, paper, plot);
    WriteLegend(svg, plot);
    svg << "</svg>\n";
    return svg.str();
}

}  // namespace tavrin21::host
