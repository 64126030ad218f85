#pragma once

// Connect strings composed for Windows' driver manager, made fit for this host's. A module names
// a file database as Access's driver wants it, "DBQ=<Windows path>"; the SQLite driver that
// stands in for Access here ignores DBQ and, worse, then connects to a new empty database
// without a word. So DBQ becomes "Database=" with the file's host path (HostPath).
// The SQLite driver holds a whole result in memory, as text, unless its StepAPI option makes it
// step through the rows; so a connect string for it gets StepAPI=1 unless it sets StepAPI itself.
// An empty DRIVER names no driver. Windows' driver manager refuses it; unixODBC instead takes
// the first driver of its list, which again opens some other database without a word. So an
// empty DRIVER is refused here.

#include "framework/platform/export.h"

#include <string>

namespace framework {

// `connectString` with its DBQ item replaced by a Database item naming the same file on this
// host (unchanged when it has no DBQ item, an empty one, or a Database item of its own), and
// with StepAPI=1 for the SQLite driver.
// Throws DbException (SQLSTATE IM002, as Windows' driver manager) when its DRIVER is empty.
FRAMEWORK_API std::string ConnectStringForDriverManager(const std::string& connectString);

}  // namespace framework
