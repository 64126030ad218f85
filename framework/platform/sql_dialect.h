#pragma once

// SQL written for Access, made fit for the database behind the connection. Access limits a
// result with "SELECT TOP n ..."; SQLite, PostgreSQL and MySQL know only "... LIMIT n" and
// reject the first as a syntax error, which a caller would take for a missing table.

#include "framework/platform/export.h"

#include <string>
#include <string_view>

namespace framework {

// `sql` for the database system named `dbmsName` (as ODBC's SQL_DBMS_NAME gives it): a
// statement of the form "SELECT TOP n <rest>" becomes "SELECT <rest> LIMIT n" for the systems
// that need it; anything else is returned as it is.
FRAMEWORK_API std::string SqlForDbms(std::string_view dbmsName, const std::string& sql);

}  // namespace framework
