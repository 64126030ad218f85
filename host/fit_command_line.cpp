#include "host/fit_command_line.h"

#include "host/item_input.h"

#include <variant>

#include <CLI/CLI.hpp>

namespace tavrin21::host {

CLI::App* AddFitCommand(CLI::App& app, FitOptions& options) {
    CLI::App* command = app.add_subcommand(
        "fit",
        "Weibull report of one part: the module's field-data fit beside the exact "
        "maximum-likelihood fit\n(example: fit --part FAN-0412 --env GB --plot fan.svg)");
    command->footer(
        "Exit codes: 0 the report was written (and the plot); 1 the module, the library, the\n"
        "part's data or the plot failed (one line on standard error); 64 the command line is\n"
        "wrong.");
    command->add_option("--db", options.database,
                        "ODBC connect string, or path of an SQLite library file (default: "
                        "library.sqlite beside this program)");
    command->add_option("--part", options.partNumber, "part number")->required();
    command
        ->add_option("--env", options.environment,
                     "environment: 1 to 27 or its code (GB, GMS, ... CL)")
        ->required()
        ->check(CLI::Validator(
            [](const std::string& text) {
                auto parsed = EnvironmentFromText(text);
                const auto* reason = std::get_if<std::string>(&parsed);
                return reason == nullptr ? std::string() : *reason;
            },
            ""));
    command->add_option("--plot", options.plotPath,
                        "write a Weibull probability plot to this SVG file");
    command->add_option("--module", options.modulePath,
                        "path of the module (default: tavrin21.so beside this program)");
    command->add_option("--format", options.format, "output format")
        ->check(CLI::IsMember({"table", "json"}))
        ->capture_default_str();
    return command;
}

}  // namespace tavrin21::host
