#pragma once

// Reading the rows of the rates query, shared by the per-item lookup and the prefetch.

#include <optional>

namespace framework {
class Recordset;
}

namespace morvik {

class CheckedTableBuilder;

// The number in `column` of the current row; nothing for NULL. Throws framework::DbException.
std::optional<double> ReadNumber(framework::Recordset& rows, const char* column);

// Adds the point of the current row (Slot, Temperature, Rate) to `table`. Throws
// framework::DbException, or UnusableTable for a point the table cannot hold.
void AddPointRow(framework::Recordset& rows, CheckedTableBuilder& table);

}  // namespace morvik
