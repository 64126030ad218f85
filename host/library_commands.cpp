#include "host/library_commands.h"

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

}  // namespace tavrin21::host
