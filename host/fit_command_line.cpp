#include "host/fit_command_line.h"

#include <CLI/CLI.hpp>

namespace tavrin21::host {

CLI::App* AddFitCommand(CLI::App& app, FitOptions& options) {
    CLI::App* command = app.add_subcommand(
        "fit",
        "Weibull report of one part: the module's field-data fit beside the exact "
        "maximum-likelihood fit\n(example: fit --db library.sqlite --part FAN-0412 --env GB "
        "--plot fan.svg)");
    command
        ->add_option("--db", options.database,
                     "ODBC connect string, or path of an SQLite library file")
        ->required();
    command->add_option("--part", options.partNumber, "part number")->required();
    command
        ->add_option("--env", options.environment,
                     "environment: 1 to 27 or its code (GB, GMS, ... CL)")
        ->required();
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
