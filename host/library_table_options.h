#pragma once

// What every command that reads or writes one library table is told: where and which.

#include <string>

namespace tavrin21::host {

struct LibraryTableOptions {
    std::string database;  // connect string or SQLite file
    std::string table;     // FRTable, FRTablePoint or PartFR
};

}  // namespace tavrin21::host
