#pragma once

// The probability plot of the published ten-unit rank check, and its SVG read back: the
// elements of a class with their attributes.

#include "host/probability_plot.h"

#include <map>
#include <string>
#include <vector>

namespace tavrin21::host::plot_reading {

// The ten-unit set of the published rank check, with the exact fit's line and a second line
// far enough from it to be told apart in the picture.
inline const WeibullSample kSample{{150, 560, 800, 1720, 5230, 6890}, {340, 1130, 2470, 4210}};
inline const double kPublishedRanks[] = {0.0673, 0.1741, 0.2810, 0.4056, 0.6134, 0.8211};
inline const FittedLine kExact{"exact", "exact-fit", "#1f77b4", 3926.8534253354296,
                               0.97206867225749538};
inline const FittedLine kOther{"other", "module-fit", "#d62728", 2500.0, 1.6};

inline const ProbabilityPlot kPlot{"Ten units & four suspended",
                                   "time",
                                   MedianRanks(kSample),
                                   kSample.suspensions,
                                   {kOther, kExact}};

// The attributes of every element of class `cls`, and its text under the key "".
inline std::vector<std::map<std::string, std::string>> Elements(const std::string& svg,
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

inline double Number(const std::map<std::string, std::string>& element, const std::string& name) {
    return std::stod(element.at(name));
}

}  // namespace tavrin21::host::plot_reading
