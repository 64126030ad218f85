#pragma once

#include <iosfwd>
#include <string>

namespace tavrin21::host {

struct CalcOptions {
    std::string itemsPath;
    std::string primary;    // connect string or SQLite file; empty: the library beside the program
    std::string secondary;  // empty: the primary connection
    std::string modulePath; // empty: the module beside the program
    std::string format = "table";
};

// Exit codes of a run.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFatal = 1;      // nothing could be calculated: module, database, file
inline constexpr int kExitBadRows = 2;    // some rows of the items file were not items

// Calculates every item of the items file and writes the results to `out`; reports bad rows
// ("items.csv:7: temperature \"abc\" is not a number") and database errors to `err`.
int RunCalc(const CalcOptions& options, std::ostream& out, std::ostream& err);

// Lists the module's own columns: field number, length and title lines.
int RunColumns(const std::string& modulePath, std::ostream& out, std::ostream& err);

// The example library built beside the program.
std::string DefaultLibraryPath();

}  // namespace tavrin21::host
