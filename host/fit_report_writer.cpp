#include "host/fit_report_writer.h"

#include "tavrin21/environment_codes.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <utility>

#include <nlohmann/json.hpp>

namespace tavrin21::host {

namespace {

std::string Text(double value, const char* format = "%.10g") {
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string EnvironmentText(std::uint8_t code) {
    const auto name = EnvironmentName(code);
    return (name ? std::string(*name) : std::string("?")) + " (" + std::to_string(code) + ")";
}

std::string Padded(std::string text, std::size_t width) {
    text.resize(std::max(width, text.size()), ' ');
    return text;
}

std::string Count(std::size_t count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string BoundsText(const std::optional<WeibullBounds>& bounds,
                       Interval WeibullBounds::*member) {
    if (!bounds) {
        return "";
    }
    const Interval& interval = (*bounds).*member;
    return Text(interval.lower, "%.6g") + " to " + Text(interval.upper, "%.6g");
}

void WriteData(std::ostream& out, const FitReport& report) {
    out << "Data after the time origin " << Text(report.timeOrigin, "%g") << " ("
        << Count(report.data.failures.size(), "failure") << ", "
        << Count(report.data.suspensions.size(), "suspension") << "), in time order:\n"
        << "  time            kind         adjusted order  median rank\n";
    std::vector<std::pair<double, const RankedFailure*>> rows;
    for (const RankedFailure& rank : report.ranks) {
        rows.emplace_back(rank.time, &rank);
    }
    for (const double time : report.data.suspensions) {
        rows.emplace_back(time, nullptr);
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [time, rank] : rows) {
        out << "  " << Padded(Text(time), 16);
        if (rank == nullptr) {
            out << "suspension\n";
            continue;
        }
        out << "failure      " << Padded(Text(rank->adjustedOrder, "%.4f"), 16)
            << Text(rank->medianRank, "%.4f") << '\n';
    }
}

void WriteEstimates(std::ostream& out, const FitReport& report) {
    auto row = [&](const std::string& name, const std::string& module, const std::string& exact,
                   const std::string& bounds) {
        std::string line =
            "  " + Padded(name, 22) + Padded(module, 22) + Padded(exact, 22) + bounds;
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    };
    auto column = [](const std::optional<WeibullEstimate>& estimate, auto value, const char* format,
                     const std::string& missing) {
        if (!estimate) {
            return missing;
        }
        const std::optional<double> number = value(*estimate);
        return number ? Text(*number, format) : std::string("n/a");
    };
    const std::string moduleMissing = "fit failed";
    const std::string exactMissing = "no fit";
    auto both = [&](const std::string& name, auto value, const std::string& bounds) {
        row(name, column(report.moduleFit, value, "%.9g", moduleMissing),
            column(report.exactFit, value, "%.10g", exactMissing), bounds);
    };

    out << '\n';
    row("", "module", "exact MLE", "95 % bounds (exact fit)");
    both(
        "shape", [](const WeibullEstimate& e) { return std::optional(e.shape); },
        BoundsText(report.exactBounds, &WeibullBounds::shape));
    both(
        "scale", [](const WeibullEstimate& e) { return std::optional(e.scale); },
        BoundsText(report.exactBounds, &WeibullBounds::scale));
    both(
        "shape, reduced bias", [](const WeibullEstimate& e) { return e.reducedBiasShape; }, "");
    both(
        "B10 life", [](const WeibullEstimate& e) { return std::optional(e.b10Life); },
        BoundsText(report.exactBounds, &WeibullBounds::b10));
    both(
        "-ln L", [](const WeibullEstimate& e) { return std::optional(e.negLogLikelihood); }, "");
}

void WriteSummary(std::ostream& out, const FitReport& report) {
    out << '\n';
    if (!report.moduleFit) {
        out << "The module's fit failed: it gave shape and scale 0.\n";
    }
    if (report.exactFit) {
        out << "Exact fit: Newton's method on (ln scale, ln shape), " << report.exactIterations
            << " iterations;\n"
            << "95 % bounds from the observed Fisher information, normal on the log scale.\n";
    } else {
        out << "No exact fit: " << report.exactFailure << ".\n";
    }
    if (const auto& d = report.deviation) {
        out << "Module against the exact fit: shape " << Text(d->shapePercent, "%+.3g")
            << " %, scale " << Text(d->scalePercent, "%+.3g") << " %, B10 life "
            << Text(d->b10Percent, "%+.3g") << " %; -ln L higher by "
            << Text(d->negLogLikelihoodExcess, "%.3g") << ".\n";
    }
    out << "Reduced bias: shape x C4(r)^3.5, r = " << report.data.failures.size() << " failures.\n";
}

nlohmann::ordered_json EstimateJson(const WeibullEstimate& estimate) {
    nlohmann::ordered_json json = {{"shape", estimate.shape},
                                   {"scale", estimate.scale},
                                   {"shapeReducedBias", nullptr},
                                   {"b10Life", estimate.b10Life},
                                   {"negLogLikelihood", estimate.negLogLikelihood}};
    if (estimate.reducedBiasShape) {
        json["shapeReducedBias"] = *estimate.reducedBiasShape;
    }
    return json;
}

nlohmann::ordered_json IntervalJson(const Interval& interval) {
    return {interval.lower, interval.upper};
}

}  // namespace

void WriteFitReportTable(std::ostream& out, const FitReport& report) {
    out << "Weibull report for part " << report.partNumber << ", environment "
        << EnvironmentText(report.environmentCode) << "\n\n";
    WriteData(out, report);
    WriteEstimates(out, report);
    WriteSummary(out, report);
}

void WriteFitReportJson(std::ostream& out, const FitReport& report) {
    nlohmann::ordered_json ranks = nlohmann::ordered_json::array();
    for (const RankedFailure& rank : report.ranks) {
        ranks.push_back({{"time", rank.time},
                         {"adjustedOrder", rank.adjustedOrder},
                         {"medianRank", rank.medianRank}});
    }
    nlohmann::ordered_json module = {{"status", report.module.status},
                                     {"message", report.module.message},
                                     {"shape", static_cast<double>(report.module.shape)},
                                     {"scale", static_cast<double>(report.module.scale)},
                                     {"fitFailed", !report.moduleFit.has_value()}};
    if (report.moduleFit) {
        module.update(EstimateJson(*report.moduleFit));
    }
    nlohmann::ordered_json exact = nullptr;
    if (report.exactFit) {
        exact = EstimateJson(*report.exactFit);
        exact["iterations"] = report.exactIterations;
        if (report.exactBounds) {
            exact["bounds95"] = {{"shape", IntervalJson(report.exactBounds->shape)},
                                 {"scale", IntervalJson(report.exactBounds->scale)},
                                 {"b10Life", IntervalJson(report.exactBounds->b10)}};
        }
    }
    nlohmann::ordered_json json = {
        {"part", report.partNumber},
        {"environment",
         {{"code", report.environmentCode},
          {"name", std::string(EnvironmentName(report.environmentCode).value_or("?"))}}},
        {"timeOrigin", report.timeOrigin},
        {"failures", report.data.failures},
        {"suspensions", report.data.suspensions},
        {"medianRanks", ranks},
        {"module", module},
        {"exact", exact},
        {"exactFailure", report.exactFailure.empty() ? nlohmann::ordered_json(nullptr)
                                                     : nlohmann::ordered_json(report.exactFailure)},
        {"moduleVersusExact", nullptr}};
    if (const auto& d = report.deviation) {
        json["moduleVersusExact"] = {{"shapePercent", d->shapePercent},
                                     {"scalePercent", d->scalePercent},
                                     {"b10LifePercent", d->b10Percent},
                                     {"negLogLikelihoodExcess", d->negLogLikelihoodExcess}};
    }
    out << json.dump(2) << '\n';
}

}  // namespace tavrin21::host
