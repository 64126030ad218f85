#include "host/fit_command.h"

#include "framework/database.h"
#include "framework/db_exception.h"
#include "framework/message_box.h"
#include "host/calc_command.h"
#include "host/connection.h"
#include "host/fit_report.h"
#include "host/fit_report_writer.h"
#include "host/item_input.h"
#include "host/item_result.h"
#include "host/module_api.h"
#include "host/part_history.h"
#include "host/probability_plot.h"
#include "tavrin21/environment_codes.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <ostream>
#include <stdexcept>
#include <variant>

namespace tavrin21::host {

namespace {

std::uint8_t EnvironmentOption(const std::string& text) {
    auto parsed = EnvironmentFromText(text);
    if (auto* reason = std::get_if<std::string>(&parsed)) {
        throw std::runtime_error(*reason);
    }
    return std::get<std::uint8_t>(parsed);
}

// calc_item with mode 2, the same connection as primary and secondary, as calc calls it.
ModuleOutcome RunFieldDataMethod(const ModuleApi& module,
                                 framework::Database& database,
                                 const std::string& partNumber,
                                 std::uint8_t environmentCode) {
    ItemInput input;
    input.partNumber = partNumber;
    input.environmentCode = environmentCode;
    input.mode = 2;
    ItemRecord record = MakeItemRecord(input);
    char message[kMessageBufferBytes + 1] = {};
    ModuleOutcome outcome;
    outcome.status = module.calcItem(message, &record, &database, &database, input.mode);
    outcome.message = CleanMessage(message);
    outcome.shape = record.ResultRate;
    outcome.scale = record.ResultScale;
    return outcome;
}

std::string FittedLineLabel(const char* name, double shape, double scale) {
    char text[96];
    std::snprintf(text, sizeof text, "%s: shape %.4g, scale %.5g", name, shape, scale);
    return text;
}

void WritePlot(const std::string& path, const FitReport& report) {
    ProbabilityPlot plot;
    plot.title = "Weibull probability plot: part " + report.partNumber + ", environment " +
                 std::string(EnvironmentName(report.environmentCode).value_or("?"));
    plot.timeLabel = "time after the origin 20";
    plot.failures = report.ranks;
    plot.suspensions = report.data.suspensions;
    if (report.moduleFit) {
        plot.lines.push_back(
            {FittedLineLabel("module", report.moduleFit->shape, report.moduleFit->scale),
             "module-fit", "#d62728", report.moduleFit->scale, report.moduleFit->shape});
    }
    if (report.exactFit) {
        plot.lines.push_back(
            {FittedLineLabel("exact MLE", report.exactFit->shape, report.exactFit->scale),
             "exact-fit", "#1f77b4", report.exactFit->scale, report.exactFit->shape});
    }
    const std::string svg = ProbabilityPlotSvg(plot);
    errno = 0;
    std::ofstream file(path, std::ios::binary);
    file << svg;
    file.close();
    if (!file) {
        const int reason = errno;
        throw std::runtime_error("cannot write the plot " + path +
                                 (reason != 0 ? std::string(": ") + std::strerror(reason) : ""));
    }
}

int Fit(const FitOptions& options, std::ostream& out, std::ostream& err) {
    const std::uint8_t environmentCode = EnvironmentOption(options.environment);
    const ModuleApi module(options.modulePath.empty() ? DefaultModulePath() : options.modulePath);
    const std::string source = options.database.empty() ? DefaultLibraryPath() : options.database;
    framework::Database database;
    try {
        database.Open(ConnectStringFor(source));
    } catch (const framework::DbException& error) {
        throw std::runtime_error("cannot open " + framework::RedactPassword(source) + ": " +
                                 error.ErrorText());
    }
    // The module shows database errors as message boxes; they go to standard error here.
    framework::ScopedMessageSink sink([&](const std::string& text, unsigned, unsigned) {
        std::string line = text;
        std::replace(line.begin(), line.end(), '\n', ' ');
        err << "tavrin21-host: part " << options.partNumber << ": " << line << '\n';
        return framework::kIdOk;
    });

    const WeibullSample recorded = ReadPartHistory(database, options.partNumber, environmentCode);
    if (recorded.failures.empty() && recorded.suspensions.empty()) {
        throw std::runtime_error("part " + options.partNumber +
                                 " has no field data in environment " + options.environment);
    }
    const ModuleOutcome outcome =
        RunFieldDataMethod(module, database, options.partNumber, environmentCode);
    if (outcome.status != StatusCalculated) {
        throw std::runtime_error("part " + options.partNumber + ": " + outcome.message);
    }

    const FitReport report = MakeFitReport(options.partNumber, environmentCode, recorded, outcome);
    if (options.format == "json") {
        WriteFitReportJson(out, report);
    } else {
        WriteFitReportTable(out, report);
    }
    if (!options.plotPath.empty()) {
        WritePlot(options.plotPath, report);
    }
    return kExitOk;
}

}  // namespace

int RunFit(const FitOptions& options, std::ostream& out, std::ostream& err) {
    try {
        return Fit(options, out, err);
    } catch (const std::exception& error) {
        err << "tavrin21-host: " << error.what() << '\n';
        return kExitFatal;
    }
}

}  // namespace tavrin21::host
