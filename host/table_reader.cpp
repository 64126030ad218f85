#include "host/table_reader.h"

#include <cmath>

#include "framework/recordset.h"

namespace tavrin21::host {

namespace {

std::string ColumnList(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) {
        list += (list.empty() ? "" : ", ") + name;
    }
    return list;
}

framework::SqlValue ReadValue(framework::Recordset& rows, const ColumnSpec& column) {
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
    std::vector<std::string> names;
    for (const ColumnSpec& column : table.columns) {
        names.push_back(column.name);
    }
    framework::Recordset rows(&database);
    rows.Open("SELECT " + ColumnList(names) + " FROM " + table.name + " ORDER BY " +
              ColumnList(table.keyColumns));
    for (; !rows.IsEOF(); rows.MoveNext()) {
        TableRow row;
        for (const ColumnSpec& column : table.columns) {
            row.push_back(ReadValue(rows, column));
        }
        take(std::move(row));
    }
}

}  // namespace tavrin21::host
