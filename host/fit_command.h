#pragma once

#include <iosfwd>
#include <string>

namespace tavrin21::host {

struct FitOptions {
    std::string database;  // connect string or SQLite file; empty: the library beside the program
    std::string partNumber;
    std::string environment;  // 1 to 27 or its code, in any case
    std::string plotPath;     // empty: no plot
    std::string modulePath;   // empty: the module beside the program
    std::string format = "table";
};

// Runs the field-data method for one part through the module, fits the same data exactly,
// writes the report to `out` and, when asked, the probability plot to its file. A part
// without field data, data the module refuses, or a file that cannot be written is one line on
// `err` and kExitFatal.
int RunFit(const FitOptions& options, std::ostream& out, std::ostream& err);

}  // namespace tavrin21::host
