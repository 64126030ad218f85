#include "host/export_command.h"

#include "host/calc_command.h"
#include "host/file_replacement.h"
#include "host/library_commands.h"
#include "host/library_connection.h"
#include "host/table_reader.h"
#include "host/terminal_text.h"

#include <cstring>
#include <optional>
#include <ostream>
#include <utility>

#include <CLI/CLI.hpp>

namespace tavrin21::host {

namespace {

// The header goes out once the query has run, so that a table the database cannot read leaves
// nothing on a pipe that a reader could take for an empty table.
void WriteTable(framework::Database& database, const TableSpec& table, std::ostream& out) {
    bool headerWritten = false;
    const auto writeHeader = [&] {
        if (!std::exchange(headerWritten, true)) {
            out << CsvHeader(table) << '\n';
        }
    };
    ReadTableRows(database, table, [&](TableRow&& row) {
        writeHeader();
        out << CsvLine(row) << '\n';
    });
    writeHeader();
}

// A failed export leaves the file under the name the user gave as it was.
void WriteTableToFile(framework::Database& database,
                      const TableSpec& table,
                      const std::string& path) {
    FileReplacement file(path, "");
    WriteTable(database, table, file.Stream());
    if (const std::optional<int> error = file.Commit()) {
        throw std::runtime_error("cannot write " + Printable(path) +
                                 (*error != 0 ? std::string(": ") + std::strerror(*error) : ""));
    }
}

}  // namespace

CLI::App* AddExportCommand(CLI::App& app, ExportOptions& options) {
    CLI::App* command = AddLibraryCommand(
        app, "export", "Write a library table as CSV, ordered by its key; import reads it back",
        {"export --db mylib.sqlite --table PartFR --output part_fr.csv"},
        "Exit codes: 0 the table was written; 1 the library, the database or the output failed\n"
        "(a --output file is left untouched); 64 the command line is wrong.");
    AddLibraryTableOptions(*command, options, "the table to write");
    command->add_option("--output", options.output, "file to write (default: standard output)");
    return command;
}

int RunExport(const ExportOptions& options, std::ostream& out, std::ostream& err) {
    return RunReportingFailure(err, [&] {
        const TableSpec table = LibraryTable(options.table);
        auto database = OpenLibrary(options.database);
        if (!options.output.empty()) {
            WriteTableToFile(*database, table, options.output);
            return kExitOk;
        }
        WriteTable(*database, table, out);
        out.flush();
        if (!out) {
            throw std::runtime_error("cannot write to standard output");
        }
        return kExitOk;
    });
}

}  // namespace tavrin21::host
