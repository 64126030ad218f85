#pragma once

// tavrin21-host export: writes a library table as CSV that import reads back unchanged.

#include "host/library_table_options.h"

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace tavrin21::host {

struct ExportOptions : LibraryTableOptions {
    std::string output;  // empty: standard output
};

CLI::App* AddExportCommand(CLI::App& app, ExportOptions& options);

// Writes the table to `out`, or to the file options.output, ordered by the table's key.
int RunExport(const ExportOptions& options, std::ostream& out, std::ostream& err);

}  // namespace tavrin21::host
