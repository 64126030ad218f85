#pragma once

// Reading every row of a library table, in the order of its key.

#include "framework/database.h"
#include "host/table_rows.h"

#include <functional>

namespace tavrin21::host {

// Calls `take` with each row of `table` on `database`, ordered by the table's key. Throws
// framework::DbException when the table cannot be read.
void ReadTableRows(framework::Database& database,
                   const TableSpec& table,
                   const std::function<void(TableRow&&)>& take);

}  // namespace tavrin21::host
