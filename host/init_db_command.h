#pragma once

// tavrin21-host init-db: makes a new library with the documented tables and indexes.

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace tavrin21::host {

struct InitDbOptions {
    std::string target;  // path of the SQLite file to make, or a connect string
    bool force = false;  // replace an existing file, or the library tables of the database
};

CLI::App* AddInitDbCommand(CLI::App& app, InitDbOptions& options);

// Makes FRTable, FRTablePoint and PartFR with their indexes, all or nothing. A file that exists
// already, or a database that holds any of the tables, is left alone unless options.force.
int RunInitDb(const InitDbOptions& options, std::ostream& out, std::ostream& err);

}  // namespace tavrin21::host
