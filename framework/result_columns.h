#pragma once

// The column names of a statement's result, as the framework's record sets look columns up.

#include "framework/platform/odbc_headers.h"

#include <string>
#include <vector>

namespace framework {

// The names of the result columns of the executed `statement`, in order. Throws DbException
// naming `sql` when the driver cannot describe them.
std::vector<std::string> ResultColumnNames(SQLHSTMT statement, const std::string& sql);

}  // namespace framework
