// tavrin21-host: loads the calculation module by path and drives it against real databases.

#include <iostream>

#include <CLI/CLI.hpp>

#include "host/calc_command.h"
#include "host/fit_command_line.h"

int main(int argc, char** argv) {
    CLI::App app{"Calculates items with the tavrin21 calculation module, as its host does."};
    app.require_subcommand(1);

    tavrin21::host::CalcOptions calc;
    CLI::App* calcCommand = app.add_subcommand("calc", "Calculate the items of a CSV file");
    calcCommand->add_option("--items", calc.itemsPath,
                            "CSV file with the header PartNumber,EnvironmentCode,Temperature,MethodCode,Mode")
        ->required();
    calcCommand->add_option("--primary", calc.primary,
                            "ODBC connect string, or path of an SQLite library file "
                            "(default: library.sqlite beside this program)");
    calcCommand->add_option("--secondary", calc.secondary,
                            "second connection, searched when the primary has nothing (default: the primary)");
    calcCommand->add_option("--module", calc.modulePath,
                            "path of the module (default: tavrin21.so beside this program)");
    calcCommand->add_option("--format", calc.format, "output format")
        ->check(CLI::IsMember({"table", "csv"}));

    std::string columnsModule;
    CLI::App* columnsCommand = app.add_subcommand("columns", "List the module's own columns");
    columnsCommand->add_option("--module", columnsModule,
                               "path of the module (default: tavrin21.so beside this program)");

    tavrin21::host::FitOptions fit;
    CLI::App* fitCommand = tavrin21::host::AddFitCommand(app, fit);

    CLI11_PARSE(app, argc, argv);

    if (*calcCommand) {
        return tavrin21::host::RunCalc(calc, std::cout, std::cerr);
    }
    if (*fitCommand) {
        return tavrin21::host::RunFit(fit, std::cout, std::cerr);
    }
    return tavrin21::host::RunColumns(columnsModule, std::cout, std::cerr);
}
