#include "host/library_tables.h"

#include "framework/text_compare.h"
#include "tavrin21/item_record.h"

#include <cstdint>
#include <limits>
#include <stdexcept>

namespace tavrin21::host {

namespace {

constexpr long kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr long kInt32Max = std::numeric_limits<std::int32_t>::max();

ColumnSpec PartNumber() {
    return {"PartNumber", ColumnKind::Text, true, 0, 0, kPartNumberMaxLength};
}
ColumnSpec EnvCode() {
    return {"EnvCode", ColumnKind::Environment, true};
}
ColumnSpec Number(const char* name, bool required = true) {
    return {name, ColumnKind::Double, required};
}
ColumnSpec Whole(const char* name, long minimum, long maximum, bool required = true) {
    return {name, ColumnKind::Integer, required, minimum, maximum};
}
ColumnSpec Text(const char* name, std::size_t maxLength) {
    return {name, ColumnKind::Text, false, 0, 0, maxLength};
}

std::vector<TableSpec> Tables() {
    return {
        {"FRTable",
         {PartNumber(), EnvCode(), Number("MinTemperature"), Number("MaxTemperature")},
         {"PartNumber", "EnvCode"}},
        {"FRTablePoint",
         {PartNumber(), EnvCode(), Whole("Slot", 0, 15), Number("Temperature"), Number("Rate")},
         {"PartNumber", "EnvCode", "Slot"}},
        // ProcCode is limited to what the module reads of it: its low 8 bits.
        {"PartFR",
         {PartNumber(), Whole("TimeNumber", kInt32Min, kInt32Max), EnvCode(),
          Whole("ProcCode", 0, 255), Number("FRTime"), Text("FRDate", 20),
          Whole("IsCencored", 0, 1), Text("Remark", 255),
          Whole("ItemNumber", kInt32Min, kInt32Max, false), Number("Tc", false),
          Number("TimeBtw", false), Number("Mtbfc", false), Number("Mtbfi", false),
          Number("GrowthRate", false)},
         {"PartNumber", "EnvCode", "ProcCode", "TimeNumber"}},
    };
}

}  // namespace

std::size_t TableSpec::IndexOf(const std::string& column) const {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].name == column) {
            return i;
        }
    }
    throw std::logic_error("table " + name + " has no column " + column);
}

std::optional<TableSpec> FindTable(const std::string& name) {
    for (TableSpec& table : Tables()) {
        if (framework::EqualsIgnoringCase(table.name, name)) {
            return std::move(table);
        }
    }
    return std::nullopt;
}

std::vector<std::string> TableNames() {
    std::vector<std::string> names;
    for (const TableSpec& table : Tables()) {
        names.push_back(table.name);
    }
    return names;
}

}  // namespace tavrin21::host
