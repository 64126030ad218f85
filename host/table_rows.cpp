#include "host/table_rows.h"

#include "framework/text_compare.h"
#include "host/csv_reader.h"
#include "host/field_text.h"
#include "tavrin21/environment_codes.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string_view>

namespace tavrin21::host {

namespace {

using framework::SqlValue;

constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

// Each parser stores the value of `text` into `value`, or returns the reason it cannot. (An
// out-parameter rather than a variant of a variant, which GCC 12 under the sanitizers takes for
// uninitialised.)
std::optional<std::string> ParseEnvironment(const ColumnSpec& column,
                                            const std::string& text,
                                            SqlValue& value) {
    if (const auto code = WholeNumber(text)) {
        if (*code < 1 || *code > kEnvironmentCount) {
            return column.name + " " + Quoted(text) + " is not between 1 and 27";
        }
        value = static_cast<std::int32_t>(*code);
        return std::nullopt;
    }
    std::string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const auto code = EnvironmentCodeOf(upper);
    if (!code) {
        return column.name + " " + Quoted(text) +
               " is neither 1 to 27 nor a code such as GB or AIC";
    }
    value = static_cast<std::int32_t>(*code);
    return std::nullopt;
}

std::optional<std::string> ParseText(const ColumnSpec& column,
                                     const std::string& text,
                                     SqlValue& value) {
    if (text.size() > column.maxLength) {
        return column.name + " " + Quoted(text) + " is longer than " +
               std::to_string(column.maxLength) + " bytes";
    }
    if (text.find('\0') != std::string::npos) {
        return column.name + " holds a NUL character";
    }
    value = text;
    return std::nullopt;
}

std::optional<std::string> ParseWhole(const ColumnSpec& column,
                                      const std::string& text,
                                      SqlValue& value) {
    const auto whole = WholeNumber(text);
    if (!whole || *whole < column.minimum || *whole > column.maximum) {
        return column.name + " " + Quoted(text) + " is not a whole number from " +
               std::to_string(column.minimum) + " to " + std::to_string(column.maximum);
    }
    value = static_cast<std::int32_t>(*whole);
    return std::nullopt;
}

std::optional<std::string> ParseNumber(const ColumnSpec& column,
                                       const std::string& text,
                                       SqlValue& value) {
    double number = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (error != std::errc() || stop != end || !std::isfinite(number)) {
        return column.name + " " + Quoted(text) + " is not a finite number";
    }
    value = number;
    return std::nullopt;
}

std::optional<std::string> ParseValue(const ColumnSpec& column,
                                      const std::string& field,
                                      SqlValue& value) {
    const std::string text = column.kind == ColumnKind::Text ? field : Trimmed(field);
    value = std::monostate();
    if (text.empty()) {
        return column.required ? std::optional<std::string>(column.name + " is empty")
                               : std::nullopt;
    }
    switch (column.kind) {
        case ColumnKind::Text:
            return ParseText(column, text, value);
        case ColumnKind::Environment:
            return ParseEnvironment(column, text, value);
        case ColumnKind::Integer:
            return ParseWhole(column, text, value);
        case ColumnKind::Double:
            return ParseNumber(column, text, value);
    }
    return column.name + " has a kind the program does not know";
}

double NumberAt(const TableSpec& table, const TableRow& row, const std::string& column) {
    return std::get<double>(row[table.IndexOf(column)]);
}

// What a single row must satisfy beyond the kinds of its values; nothing when it does.
std::optional<std::string> RowRuleViolation(const TableSpec& table, const TableRow& row) {
    if (table.name == "FRTable") {
        const double minimum = NumberAt(table, row, "MinTemperature");
        const double maximum = NumberAt(table, row, "MaxTemperature");
        if (minimum > maximum) {
            return "MinTemperature " + ValueText(minimum) + " is above MaxTemperature " +
                   ValueText(maximum);
        }
    } else if (table.name == "FRTablePoint") {
        const double rate = NumberAt(table, row, "Rate");
        if (rate < 0.0) {
            return "Rate " + ValueText(rate) + " is negative (a rate of 0 marks an empty slot)";
        }
    } else if (table.name == "PartFR") {
        const double time = NumberAt(table, row, "FRTime");
        if (time <= 0.0) {
            return "FRTime " + ValueText(time) + " is not a positive time";
        }
    }
    return std::nullopt;
}

}  // namespace

TableColumns::TableColumns(TableSpec table, const std::vector<std::string>& header)
    : table_(std::move(table)), positions_(table_.columns.size(), -1), fieldCount_(header.size()) {
    for (std::size_t field = 0; field < header.size(); ++field) {
        std::string name = Trimmed(header[field]);
        // Spreadsheets often begin a UTF-8 file with a byte-order mark.
        if (field == 0 && name.rfind(kByteOrderMark, 0) == 0) {
            name = Trimmed(name.substr(std::string_view(kByteOrderMark).size()));
        }
        const auto column = std::find_if(
            table_.columns.begin(), table_.columns.end(),
            [&](const ColumnSpec& c) { return framework::EqualsIgnoringCase(c.name, name); });
        if (column == table_.columns.end()) {
            throw std::runtime_error("unknown column " + Quoted(name) + " in the header of a " +
                                     table_.name + " file (its columns: " + CsvHeader(table_) +
                                     ")" + SemicolonHint(header));
        }
        long& position = positions_[static_cast<std::size_t>(column - table_.columns.begin())];
        if (position >= 0) {
            throw std::runtime_error("the header names column " + column->name + " twice");
        }
        position = static_cast<long>(field);
    }
    for (std::size_t i = 0; i < table_.columns.size(); ++i) {
        if (positions_[i] < 0 && table_.columns[i].required) {
            throw std::runtime_error("the header has no column " + table_.columns[i].name);
        }
    }
}

std::variant<TableRow, std::string> TableColumns::Parse(
    const std::vector<std::string>& fields) const {
    if (fields.size() != fieldCount_) {
        return "expected " + std::to_string(fieldCount_) + " fields, found " +
               std::to_string(fields.size());
    }
    TableRow row;
    for (std::size_t i = 0; i < table_.columns.size(); ++i) {
        const std::string field =
            positions_[i] < 0 ? std::string() : fields[static_cast<std::size_t>(positions_[i])];
        SqlValue value;
        if (auto reason = ParseValue(table_.columns[i], field, value)) {
            return std::move(*reason);
        }
        row.push_back(std::move(value));
    }
    if (auto reason = RowRuleViolation(table_, row)) {
        return std::move(*reason);
    }
    return row;
}

std::string CsvHeader(const TableSpec& table) {
    std::string line;
    for (const ColumnSpec& column : table.columns) {
        line += (line.empty() ? "" : ",") + column.name;
    }
    return line;
}

std::string ValueText(const SqlValue& value) {
    if (const auto* whole = std::get_if<std::int32_t>(&value)) {
        return std::to_string(*whole);
    }
    if (const auto* number = std::get_if<double>(&value)) {
        char buffer[32];
        const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, *number);
        return error == std::errc() ? std::string(buffer, end) : std::string("?");
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        return *text;
    }
    return {};
}

std::string CsvLine(const TableRow& row) {
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        line += std::holds_alternative<std::string>(row[i])
                    ? CsvField(std::get<std::string>(row[i]))
                    : ValueText(row[i]);
    }
    return line;
}

}  // namespace tavrin21::host
