#pragma once

// The commands that make, fill and write libraries, added to the program's command line
// together: init-db, import and export.

#include "host/export_command.h"
#include "host/import_command.h"
#include "host/init_db_command.h"

#include <iosfwd>
#include <optional>

namespace CLI {
class App;
}

namespace tavrin21::host {

struct LibraryCommands {
    InitDbOptions initDb;
    ImportOptions import;
    ExportOptions exportTable;
    CLI::App* initDbCommand = nullptr;
    CLI::App* importCommand = nullptr;
    CLI::App* exportCommand = nullptr;
};

void AddLibraryCommands(CLI::App& app, LibraryCommands& commands);

// Runs the library command the command line chose and returns its exit code; nothing when it
// chose another command.
std::optional<int> RunLibraryCommand(const LibraryCommands& commands,
                                     std::ostream& out,
                                     std::ostream& err);

}  // namespace tavrin21::host
