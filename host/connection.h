#pragma once

// The connections a run works on: given as ODBC connect strings or as paths of SQLite files.

#include <string>

namespace tavrin21::host {

// `source` itself when it is a connect string (holds '='), else the connect string of the SQLite
// file at that path. Throws std::runtime_error when such a file does not exist: the driver
// would otherwise create an empty database and every lookup would find nothing.
std::string ConnectStringFor(const std::string& source);

}  // namespace tavrin21::host
