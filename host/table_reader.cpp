#include "host/table_reader.h"

#include "framework/recordset.h"
#include "framework/text_compare.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace tavrin21::host {

namespace {

std::string ColumnList(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) {
        list += (list.empty() ? "" : ", ") + name;
    }
    return list;
}

// The SQLite driver hands numbers over as SQLite's text of them, which keeps 15 digits. A double
// read from SQLite is therefore asked for as a text of 21 digits, which SQLite writes accurately
// enough (in extended precision) that the nearest double to it is the stored one. printf would
// write NULL as 0, hence the CASE.
bool NumbersComeAsShortText(const framework::Database& database) {
    return framework::EqualsIgnoringCase(database.DbmsName(), "SQLite");
}

std::string SelectItem(const ColumnSpec& column, bool widenDoubles) {
    if (widenDoubles && column.kind == ColumnKind::Double) {
        return "CASE WHEN " + column.name + " IS NULL THEN NULL ELSE printf('%!.20e', " +
               column.name + ") END AS " + column.name;
    }
    return column.name;
}

framework::SqlValue ReadWideDouble(framework::Recordset& rows, const ColumnSpec& column) {
    std::string text;
    rows.GetFieldValue(column.name, text);
    if (text.empty()) {
        return {};
    }
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) {
        throw std::runtime_error("column " + column.name + " holds \"" + text +
                                 "\", which is not a number");
    }
    return value;
}

framework::SqlValue ReadValue(framework::Recordset& rows,
                              const ColumnSpec& column,
                              bool widenDoubles) {
    if (widenDoubles && column.kind == ColumnKind::Double) {
        return ReadWideDouble(rows, column);
    }
    if (column.kind == ColumnKind::Text) {
        std::string text;
        rows.GetFieldValue(column.name, text);
        // The record set reads NULL as an empty text; both are written as an empty field.
        if (text.empty()) {
            return {};
        }
        return text;
    }
    framework::DbVariant number;
    rows.GetFieldValue(column.name, number);
    if (number.isNull) {
        return {};
    }
    if (column.kind == ColumnKind::Double) {
        return number.value;
    }
    return static_cast<std::int32_t>(std::lround(number.value));
}

}  // namespace

void ReadTableRows(framework::Database& database,
                   const TableSpec& table,
                   const std::function<void(TableRow&&)>& take) {
    const bool widenDoubles = NumbersComeAsShortText(database);
    std::vector<std::string> names;
    for (const ColumnSpec& column : table.columns) {
        names.push_back(SelectItem(column, widenDoubles));
    }
    framework::Recordset rows(&database);
    rows.Open("SELECT " + ColumnList(names) + " FROM " + table.name + " ORDER BY " +
              ColumnList(table.keyColumns));
    for (; !rows.IsEOF(); rows.MoveNext()) {
        TableRow row;
        for (const ColumnSpec& column : table.columns) {
            row.push_back(ReadValue(rows, column, widenDoubles));
        }
        take(std::move(row));
    }
}

}  // namespace tavrin21::host
