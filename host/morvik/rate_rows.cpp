#include "host/morvik/rate_rows.h"

#include "framework/recordset.h"
#include "host/morvik/table_checks.h"

#include <string>

namespace morvik {

std::optional<double> ReadNumber(framework::Recordset& rows, const char* column) {
    framework::DbVariant value;
    rows.GetFieldValue(column, value);
    return value.isNull ? std::nullopt : std::optional<double>(value.value);
}

void AddPointRow(framework::Recordset& rows, CheckedTableBuilder& table) {
    // The slot is read as text: a library built without the typed schema may hold anything
    // there, and a driver reading text as a number turns "abc" into 0 or NULL without a word.
    std::string slotText;
    rows.GetFieldValue("Slot", slotText);
    table.AddPoint(slotText, ReadNumber(rows, "Temperature"), ReadNumber(rows, "Rate"));
}

}  // namespace morvik
