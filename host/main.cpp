// tavrin21-host: loads the calculation module by path and drives it against real databases.

#include "framework/connect_items.h"
#include "framework/platform/broken_pipe.h"
#include "framework/platform/terminal.h"
#include "host/calc_command.h"
#include "host/fit_command_line.h"
#include "host/library_commands.h"
#include "host/program_info.h"
#include "host/terminal_text.h"
#include "host/usage_error.h"

#include <iostream>

#include <CLI/CLI.hpp>

namespace {

int UsageError(const std::string& reason, const std::string& hint) {
    std::cerr << "tavrin21-host: " << tavrin21::host::Printable(framework::RedactPassword(reason))
              << '\n'
              << hint << '\n';
    return tavrin21::host::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    // A closed pipe is then a write error the program reports, not a silent end.
    framework::IgnoreBrokenPipeSignal();

    CLI::App app{"Calculates items with the tavrin21 calculation module, as its host does."};
    app.require_subcommand(1);
    // On Windows the parser would take "/LIB/x.sqlite", a path from the drive's root, for an
    // option.
    app.allow_windows_style_options(false);
    app.footer(std::string("Exit codes of calc (every command's --help gives its own):\n") +
               tavrin21::host::kExitCodesHelp);

    tavrin21::host::CalcOptions calc;
    CLI::App* calcCommand = app.add_subcommand("calc", "Calculate the items of a CSV file");
    calcCommand->footer(std::string("Exit codes:\n") + tavrin21::host::kExitCodesHelp);
    // Checked after parsing, not by the parser: it checks required options before unknown
    // arguments, and "calc --bogus" must name --bogus.
    calcCommand->add_option(
        "--items", calc.itemsPath,
        "CSV file with the columns PartNumber,EnvironmentCode,Temperature,MethodCode,Mode "
        "in any order and case; other columns are ignored; - reads standard input (required)");
    calcCommand->add_option("--primary", calc.primary,
                            "ODBC connect string, or path of an SQLite library file "
                            "(default: library.sqlite beside this program)");
    calcCommand->add_option(
        "--secondary", calc.secondary,
        "second connection, searched when the primary has nothing (default: the primary)");
    calcCommand->add_option("--module", calc.modulePath,
                            "path of the module (default: tavrin21.so beside this program)");
    calcCommand
        ->add_option("--format", calc.format,
                     "table (for people), csv, or json (one object per line)")
        ->check(CLI::IsMember({"table", "csv", "json"}))
        ->capture_default_str();
    calcCommand->add_option("--output", calc.outputPath,
                            "write the results to this file, replaced only when the run completes "
                            "(default: standard output)");
    calcCommand
        ->add_option("--lookahead", calc.lookahead,
                     "rows read ahead, whose items' failure-rate tables are read in a few round "
                     "trips (0: each item's table read as it is calculated)")
        ->check(CLI::Range(std::size_t{0}, std::size_t{100000}))
        ->capture_default_str();

    std::string columnsModule;
    CLI::App* columnsCommand = app.add_subcommand("columns", "List the module's own columns");
    columnsCommand->footer(tavrin21::host::kColumnsExitCodesHelp);
    columnsCommand->add_option("--module", columnsModule,
                               "path of the module (default: tavrin21.so beside this program)");

    tavrin21::host::FitOptions fit;
    CLI::App* fitCommand = tavrin21::host::AddFitCommand(app, fit);

    tavrin21::host::LibraryCommands library;
    tavrin21::host::AddLibraryCommands(app, library);
    tavrin21::host::AddVersionFlag(app);
    tavrin21::host::FinishHelp(app);
    tavrin21::host::RefuseEmptyValues(app);

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& request) {
        return app.exit(request);  // --help: the usage on standard output, exit code 0
    } catch (const CLI::ParseError& error) {
        return UsageError(tavrin21::host::UsageReason(app, error, argc, argv),
                          tavrin21::host::UsageHint(app, argc, argv));
    }

    if (const auto code = tavrin21::host::RunLibraryCommand(library, std::cout, std::cerr)) {
        return *code;
    }

    if (*calcCommand) {
        if (calc.itemsPath.empty()) {
            return UsageError("calc: --items is required",
                              tavrin21::host::UsageHint(app, argc, argv));
        }
        calc.outputIsTerminal = framework::StandardOutputIsTerminal();
        calc.errorsAreTerminal = framework::StandardErrorIsTerminal();
        return tavrin21::host::RunCalc(calc, std::cout, std::cerr);
    }
    if (*fitCommand) {
        return tavrin21::host::RunFit(fit, std::cout, std::cerr);
    }
    return tavrin21::host::RunColumns(columnsModule, std::cout, std::cerr);
}
