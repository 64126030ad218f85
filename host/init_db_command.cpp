#include "host/init_db_command.h"

#include "framework/connect_items.h"
#include "framework/database.h"
#include "framework/db_exception.h"
#include "framework/recordset.h"
#include "framework/transaction.h"
#include "host/calc_command.h"
#include "host/file_replacement.h"
#include "host/library_commands.h"
#include "host/library_connection.h"
#include "host/library_schema.h"

#include <filesystem>
#include <ostream>

#include <CLI/CLI.hpp>

namespace tavrin21::host {

namespace {

namespace fs = std::filesystem;

// Dropped children first: FRTablePoint refers to FRTable.
const std::vector<std::string> kLibraryTables = {"FRTablePoint", "FRTable", "PartFR"};

bool HasTable(framework::Database& database, const std::string& table) {
    framework::Recordset probe(&database);
    try {
        probe.Open("SELECT COUNT(*) FROM " + table + " WHERE 1 = 0");
        return true;
    } catch (const framework::DbException&) {
        return false;
    }
}

std::vector<std::string> ExistingTables(framework::Database& database) {
    std::vector<std::string> existing;
    for (const std::string& table : kLibraryTables) {
        if (HasTable(database, table)) {
            existing.push_back(table);
        }
    }
    return existing;
}

void MakeTables(framework::Database& database, const std::vector<std::string>& replaced) {
    framework::Transaction transaction(database);
    for (const std::string& table : replaced) {
        database.ExecuteSQL("DROP TABLE " + table);
    }
    for (const std::string& statement : LibrarySchemaStatements()) {
        database.ExecuteSQL(statement);
    }
    transaction.Commit();
}

// A new SQLite file: made under a temporary name and moved into place, so that a failure
// leaves neither a half-made library nor a damaged old one.
void MakeSqliteLibrary(const fs::path& path) {
    const fs::path partial = path.string() + ".partial";
    try {
        fs::remove(partial);
        {
            framework::Database database;
            // A path from the root as given, as ConnectStringFor keeps it (connection.cpp).
            const fs::path file = partial.has_root_directory() ? partial : fs::absolute(partial);
            database.Open("DRIVER=SQLite3;Database=" + file.string());
            MakeTables(database, {});
        }
        fs::rename(partial, path);
    } catch (...) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        throw;
    }
}

// A new SQLite file at `path`; an existing one is replaced only when `force`. A link has the
// file it leads to replaced, and stays a link.
void MakeLibraryFile(const std::string& path, bool force) {
    const fs::path target = Followed(path);
    std::error_code unknown;
    if (fs::is_directory(target, unknown)) {
        throw std::runtime_error(path + " is a folder, not a library file");
    }
    if (fs::exists(target, unknown) && !force) {
        throw std::runtime_error(path + " exists already; give --force to replace it");
    }
    const fs::path folder = fs::absolute(target).parent_path();
    if (!fs::is_directory(folder)) {
        throw std::runtime_error("there is no folder " + folder.string() + " to make " + path +
                                 " in");
    }
    MakeSqliteLibrary(target);
}

// The library tables in the database `source`; those it holds already are replaced only when
// `force`.
void MakeLibraryTablesIn(const std::string& source, bool force) {
    auto database = OpenLibrary(source);
    const std::vector<std::string> existing = ExistingTables(*database);
    if (!existing.empty() && !force) {
        std::string names;
        for (const std::string& table : existing) {
            names += (names.empty() ? "" : ", ") + table;
        }
        throw std::runtime_error(framework::RedactPassword(source) + " holds " + names +
                                 " already; give --force to replace them");
    }
    MakeTables(*database, existing);
}

}  // namespace

CLI::App* AddInitDbCommand(CLI::App& app, InitDbOptions& options) {
    CLI::App* command = AddLibraryCommand(
        app, "init-db",
        "Make a new library: the tables FRTable, FRTablePoint and PartFR with their indexes",
        {"init-db mylib.sqlite",
         "init-db 'DRIVER={PostgreSQL "
         "Unicode};Server=127.0.0.1;Database=library;Uid=me;Pwd=secret;'"},
        "Exit codes: 0 the library was made; 1 it exists (without --force) or could not be\n"
        "made; 64 the command line is wrong.");
    command
        ->add_option(
            "PATH", options.target,
            "SQLite file to make, or an ODBC connect string of a database to make the tables in")
        ->required();
    command->add_flag("--force", options.force,
                      "replace an existing file, or drop the library tables the database holds");
    return command;
}

int RunInitDb(const InitDbOptions& options, std::ostream& out, std::ostream& err) {
    return RunReportingFailure(err, [&] {
        if (options.target.find('=') == std::string::npos) {
            MakeLibraryFile(options.target, options.force);
        } else {
            MakeLibraryTablesIn(options.target, options.force);
        }
        out << "Made the library tables FRTable, FRTablePoint and PartFR in "
            << framework::RedactPassword(options.target) << ".\n";
        return kExitOk;
    });
}

}  // namespace tavrin21::host
