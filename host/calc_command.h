#pragma once

#include <chrono>
#include <cstddef>
#include <iosfwd>
#include <string>

namespace tavrin21::host {

struct CalcOptions {
    std::string itemsPath;                  // "-": the items come from `standardInput`
    std::istream* standardInput = nullptr;  // none: std::cin
    std::string primary;     // connect string or SQLite file; empty: the library beside the program
    std::string secondary;   // empty: the primary connection
    std::string modulePath;  // empty: the module beside the program
    std::string format = "table";  // "table", "csv" or "json"
    std::string outputPath;        // empty: `out`
    // Csv output goes to a terminal: control characters in it are shown escaped, not obeyed.
    bool outputIsTerminal = false;
    // Standard error is a terminal: a long batch shows its progress there, unless the results
    // themselves go to the terminal.
    bool errorsAreTerminal = false;
    // Rows of the items file read ahead, with the failure-rate tables of their items, in a few
    // round trips; 0: each item's table is read as it is calculated.
    std::size_t lookahead = 256;
    // How long to wait before reconnecting a lost connection.
    std::chrono::milliseconds reconnectPause{500};
};

// Exit codes of a run; when several apply, the highest listed here first wins:
// fatal, then database errors, then bad rows.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFatal = 1;           // the run could not start or could not go on
inline constexpr int kExitBadRows = 2;         // some rows of the items file were not items
inline constexpr int kExitDatabaseErrors = 3;  // some items hit a database or library error,
                                               // or a library became unreachable
inline constexpr int kExitUsage = 64;          // the command line is wrong

// The exit codes of calc as its help and the program's list them, under a title of theirs.
inline constexpr const char* kExitCodesHelp =
    "  0   every row was an item and every item was calculated or refused by the module\n"
    "  1   fatal: the module, the items file, a database or the output failed; the results\n"
    "      written before the failure stand (a --output file is left untouched)\n"
    "  2   some rows of the items file were not items (reported on standard error)\n"
    "  3   some items hit a database or library error, or a library became unreachable\n"
    "      (those items are written as failed with the reason)\n"
    "  64  the command line is wrong\n";

inline constexpr const char* kColumnsExitCodesHelp =
    "Exit codes: 0 the columns were listed; 1 the module could not be loaded; 64 the command\n"
    "line is wrong.";

// Calculates every item of the items file and writes each result to `out` (or the output file)
// as soon as it is calculated; reports bad rows ("items.csv:7: temperature \"abc\" is not a
// number") and database errors to `err`. Returns one of the exit codes.
int RunCalc(const CalcOptions& options, std::ostream& out, std::ostream& err);

// Lists the module's own columns: field number, length and title lines.
int RunColumns(const std::string& modulePath, std::ostream& out, std::ostream& err);

// The example library built beside the program.
std::string DefaultLibraryPath();

}  // namespace tavrin21::host
