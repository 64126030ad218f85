#pragma once

// Rows of a library table as CSV text: a file's header mapped onto the table's columns, each
// row checked and turned into values, and values written back as CSV that reads the same.

#include "framework/statement.h"
#include "host/library_tables.h"

#include <string>
#include <variant>
#include <vector>

namespace tavrin21::host {

using TableRow = std::vector<framework::SqlValue>;  // in the table's column order; NULL = empty

// Where each column of a table stands in a CSV file, from the file's header.
class TableColumns {
  public:
    // Names match in any case and any order; optional columns may be left out. Throws
    // std::runtime_error naming an unknown or repeated column, or a missing required one.
    TableColumns(TableSpec table, const std::vector<std::string>& header);

    // The values of one record, or the reason it is not a row of the table
    // ("Slot \"16\" is not a whole number from 0 to 15").
    std::variant<TableRow, std::string> Parse(const std::vector<std::string>& fields) const;

    const TableSpec& Table() const { return table_; }

  private:
    TableSpec table_;
    std::vector<long> positions_;  // per table column: its field in the file, or -1
    std::size_t fieldCount_ = 0;
};

// Every column name of the table, in its order, as a CSV line without the line break.
std::string CsvHeader(const TableSpec& table);

// The values as a CSV line without the line break: NULL as an empty field, numbers so that
// they read back to the same value (the shortest text that does).
std::string CsvLine(const TableRow& row);

// A value as text for messages and keys: NULL empty, numbers as CsvLine writes them.
std::string ValueText(const framework::SqlValue& value);

}  // namespace tavrin21::host
