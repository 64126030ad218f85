#pragma once

// The commands that make, fill and write libraries, added to the program's command line
// together: init-db, import and export; and what each of them is built from.

#include "host/export_command.h"
#include "host/import_command.h"
#include "host/init_db_command.h"
#include "host/library_tables.h"

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

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

// Adds the command `name`, whose help ends with `examples` (each the words after
// "tavrin21-host") and then `notes`, if any.
CLI::App* AddLibraryCommand(CLI::App& app,
                            const std::string& name,
                            const std::string& description,
                            const std::vector<std::string>& examples,
                            const std::string& notes = "");

// The required --db option (where the library is) and --table option (one of the library
// tables, in any case).
void AddLibraryTableOptions(CLI::App& command,
                            LibraryTableOptions& options,
                            const std::string& tableDescription);

// The library table `name`; throws std::runtime_error when there is none.
TableSpec LibraryTable(const std::string& name);

// Runs a command's `work` and returns its exit code; whatever it throws is reported on `err` as
// "tavrin21-host: REASON" with kExitFatal.
int RunReportingFailure(std::ostream& err, const std::function<int()>& work);

}  // namespace tavrin21::host
