#include "host/import_command.h"

#include "framework/db_exception.h"
#include "framework/transaction.h"
#include "host/calc_command.h"
#include "host/csv_input.h"
#include "host/csv_reader.h"
#include "host/import_checks.h"
#include "host/library_commands.h"
#include "host/library_connection.h"
#include "host/table_reader.h"

#include <istream>
#include <ostream>
#include <utility>

#include <CLI/CLI.hpp>

namespace tavrin21::host {

namespace {

struct FileRow {
    int line = 0;
    TableRow values;
};

std::string InsertSql(const TableSpec& table) {
    std::string columns;
    std::string marks;
    for (const ColumnSpec& column : table.columns) {
        columns += (columns.empty() ? "" : ", ") + column.name;
        marks += marks.empty() ? "?" : ", ?";
    }
    return "INSERT INTO " + table.name + " (" + columns + ") VALUES (" + marks + ")";
}

std::vector<framework::SqlType> ParameterTypes(const TableSpec& table) {
    std::vector<framework::SqlType> types;
    for (const ColumnSpec& column : table.columns) {
        switch (column.kind) {
            case ColumnKind::Text:
                types.push_back(framework::SqlType::Text);
                break;
            case ColumnKind::Double:
                types.push_back(framework::SqlType::Double);
                break;
            case ColumnKind::Environment:
            case ColumnKind::Integer:
                types.push_back(framework::SqlType::Integer);
                break;
        }
    }
    return types;
}

ImportChecks ChecksAgainstLibrary(framework::Database& database, const TableSpec& table) {
    ImportChecks checks(table);
    ReadTableRows(database, table, [&](TableRow&& row) { checks.AddExisting(row); });
    if (checks.NeedsParents()) {
        ReadTableRows(database, *FindTable("FRTable"),
                      [&](TableRow&& row) { checks.AddParent(row); });
    }
    return checks;
}

// The file's rows, each checked alone and against the others and the library. Bad rows are
// reported to `err`; returns the good ones and whether there was any bad one.
std::pair<std::vector<FileRow>, bool> ReadRows(std::istream& file,
                                               const std::string& path,
                                               const TableSpec& table,
                                               ImportChecks& checks,
                                               std::ostream& err) {
    CsvReader reader(file);
    const auto header = reader.Next();
    if (!header) {
        throw std::runtime_error(path + ": the file is empty; it needs a header such as " +
                                 CsvHeader(table));
    }
    const TableColumns columns = [&] {
        try {
            return TableColumns(table, header->fields);
        } catch (const std::exception& error) {
            throw std::runtime_error(path + ":" + std::to_string(header->line) + ": " +
                                     error.what());
        }
    }();
    std::vector<FileRow> rows;
    bool anyBad = false;
    for (;;) {
        std::optional<CsvRecord> record;
        try {
            record = reader.Next();
        } catch (const CsvError& error) {
            err << path << ':' << error.Line() << ": " << error.what() << '\n';
            anyBad = true;
            continue;
        }
        if (!record) {
            break;
        }
        auto parsed = columns.Parse(record->fields);
        std::optional<std::string> reason;
        if (auto* text = std::get_if<std::string>(&parsed)) {
            reason = *text;
        } else {
            reason = checks.AddFromFile(record->line, std::get<TableRow>(parsed));
        }
        if (reason) {
            err << path << ':' << record->line << ": " << *reason << '\n';
            anyBad = true;
            continue;
        }
        rows.push_back({record->line, std::move(std::get<TableRow>(parsed))});
    }
    return {std::move(rows), anyBad};
}

}  // namespace

CLI::App* AddImportCommand(CLI::App& app, ImportOptions& options) {
    CLI::App* command = AddLibraryCommand(
        app, "import",
        "Load a CSV file into a library table: every row is checked, and all are loaded or none",
        {"import --db mylib.sqlite --table FRTable frtable.csv"},
        "Import FRTable before FRTablePoint: every point needs its part's FRTable row.\n\n"
        "Exit codes: 0 all rows loaded; 2 some rows are bad (each named on standard error),\n"
        "nothing loaded; 1 the file, the library or the database failed, nothing loaded;\n"
        "64 the command line is wrong.");
    AddLibraryTableOptions(*command, options, "the table to load");
    command
        ->add_option("FILE", options.csvPath,
                     "CSV file whose header names the table's columns; - reads standard input")
        ->required();
    return command;
}

int RunImport(const ImportOptions& options, std::ostream& out, std::ostream& err) {
    return RunReportingFailure(err, [&] {
        const TableSpec table = LibraryTable(options.table);
        CsvInput input(options.csvPath, options.standardInput, "the file");
        const std::string& name = input.Name();
        auto database = OpenLibrary(options.database);
        ImportChecks checks = ChecksAgainstLibrary(*database, table);
        auto [rows, anyBad] = ReadRows(input.Stream(), name, table, checks, err);
        if (anyBad) {
            err << "tavrin21-host: nothing imported: " << name << " has bad rows\n";
            return kExitBadRows;
        }

        framework::Transaction transaction(*database);
        framework::Statement insert(*database, InsertSql(table), ParameterTypes(table));
        for (const FileRow& row : rows) {
            try {
                insert.Execute(row.values);
            } catch (const framework::DbException& error) {
                throw std::runtime_error(
                    name + ":" + std::to_string(row.line) +
                    ": the database refused the row, nothing imported: " + error.ErrorText());
            }
        }
        transaction.Commit();
        out << "Imported " << rows.size() << (rows.size() == 1 ? " row" : " rows") << " into "
            << table.name << ".\n";
        return kExitOk;
    });
}

}  // namespace tavrin21::host
