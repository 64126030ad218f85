#pragma once

// The connections a run works on: given as ODBC connect strings or as paths of SQLite files.

#include "framework/database.h"

#include <memory>
#include <string>

namespace tavrin21::host {

// The connect string of the SQLite file at `source` when such a file exists (whatever its name
// holds), else `source` itself when it is a connect string (holds '='). Throws
// std::runtime_error otherwise: the driver would create an empty database and every lookup
// would find nothing.
std::string ConnectStringFor(const std::string& source);

struct Connections {
    std::unique_ptr<framework::Database> primary;
    std::unique_ptr<framework::Database> secondary;  // null: the primary serves as both

    framework::Database* Secondary() const { return secondary ? secondary.get() : primary.get(); }

    // Reopens the connections the driver reports dead, or all of them when none says so (not
    // every driver can tell). Returns the role ("primary", "secondary") of the first that could
    // not be reopened, or an empty text.
    std::string ReopenLost();
};

// Opens the primary (`primary`, or the library beside the program when empty) and, when it
// names another source, the secondary. Throws std::runtime_error naming the role and the
// source, password removed.
Connections OpenConnections(const std::string& primary, const std::string& secondary);

}  // namespace tavrin21::host
