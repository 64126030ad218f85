#pragma once

// tavrin21-host import: loads a CSV file into a library table, all rows or none.

#include "host/library_table_options.h"

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace tavrin21::host {

struct ImportOptions : LibraryTableOptions {
    std::string csvPath;                    // "-": the rows come from `standardInput`
    std::istream* standardInput = nullptr;  // none: std::cin
};

CLI::App* AddImportCommand(CLI::App& app, ImportOptions& options);

// Checks every row of the file and, when all are good, inserts them in one transaction. Each
// bad row goes to `err` as "FILE:LINE: reason"; then nothing is written and the exit code says
// there were bad rows.
int RunImport(const ImportOptions& options, std::ostream& out, std::ostream& err);

}  // namespace tavrin21::host
