#include "host/library_commands.h"

#include "host/calc_command.h"

#include <ostream>
#include <stdexcept>

#include <CLI/CLI.hpp>

namespace tavrin21::host {

void AddLibraryCommands(CLI::App& app, LibraryCommands& commands) {
    commands.initDbCommand = AddInitDbCommand(app, commands.initDb);
    commands.importCommand = AddImportCommand(app, commands.import);
    commands.exportCommand = AddExportCommand(app, commands.exportTable);
}

std::optional<int> RunLibraryCommand(const LibraryCommands& commands,
                                     std::ostream& out,
                                     std::ostream& err) {
    if (commands.initDbCommand != nullptr && commands.initDbCommand->parsed()) {
        return RunInitDb(commands.initDb, out, err);
    }
    if (commands.importCommand != nullptr && commands.importCommand->parsed()) {
        return RunImport(commands.import, out, err);
    }
    if (commands.exportCommand != nullptr && commands.exportCommand->parsed()) {
        return RunExport(commands.exportTable, out, err);
    }
    return std::nullopt;
}

CLI::App* AddLibraryCommand(CLI::App& app,
                            const std::string& name,
                            const std::string& description,
                            const std::vector<std::string>& examples,
                            const std::string& notes) {
    std::string footer = examples.size() == 1 ? "Example:" : "Examples:";
    for (const std::string& example : examples) {
        footer += "\n  tavrin21-host " + example;
    }
    if (!notes.empty()) {
        footer += "\n\n" + notes;
    }
    CLI::App* command = app.add_subcommand(name, description);
    command->footer(footer);
    return command;
}

void AddLibraryTableOptions(CLI::App& command,
                            LibraryTableOptions& options,
                            const std::string& tableDescription) {
    command
        .add_option("--db", options.database,
                    "ODBC connect string, or path of an SQLite library file")
        ->required();
    command.add_option("--table", options.table, tableDescription)
        ->required()
        ->check(CLI::IsMember(TableNames(), CLI::ignore_case));
}

TableSpec LibraryTable(const std::string& name) {
    std::optional<TableSpec> table = FindTable(name);
    if (!table) {
        throw std::runtime_error("no library table " + name);
    }
    return std::move(*table);
}

int RunReportingFailure(std::ostream& err, const std::function<int()>& work) {
    try {
        return work();
    } catch (const std::exception& error) {
        err << "tavrin21-host: " << error.what() << '\n';
        return kExitFatal;
    }
}

}  // namespace tavrin21::host
