#pragma once

// The library's tables as import and export see them: each column's name, kind and limits, and
// the columns that make a row's key. A test checks the names against the schema init-db makes.

#include <optional>
#include <string>
#include <vector>

namespace tavrin21::host {

enum class ColumnKind {
    Text,         // at most maxLength bytes
    Environment,  // 1 to 27, or its code (GB ... CL) in any case
    Integer,      // a whole number from minimum to maximum
    Double,       // a finite number
};

struct ColumnSpec {
    std::string name;
    ColumnKind kind = ColumnKind::Text;
    bool required = true;  // an optional column may be empty or left out of the file: NULL
    long minimum = 0;      // Integer: the range
    long maximum = 0;
    std::size_t maxLength = 0;  // Text
};

struct TableSpec {
    std::string name;
    std::vector<ColumnSpec> columns;      // in the schema's order
    std::vector<std::string> keyColumns;  // no two rows share these values
    // Index of `column` in `columns`; throws std::logic_error when there is no such column.
    std::size_t IndexOf(const std::string& column) const;
};

// The table named `name` (any case): FRTable, FRTablePoint or PartFR; nothing for another name.
std::optional<TableSpec> FindTable(const std::string& name);

// The names of the tables, for help texts and checks: "FRTable", "FRTablePoint", "PartFR".
std::vector<std::string> TableNames();

}  // namespace tavrin21::host
