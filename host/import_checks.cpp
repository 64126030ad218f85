#include "host/import_checks.h"

namespace tavrin21::host {

namespace {

const std::vector<std::string> kPartAndEnvironment = {"PartNumber", "EnvCode"};

}  // namespace

std::string ImportChecks::Origin(int line) const {
    return line == 0 ? "in the table " + table_.name : "on line " + std::to_string(line);
}

std::string ImportChecks::KeyOf(const TableRow& row,
                                const std::vector<std::string>& columns) const {
    std::string key;
    for (const std::string& column : columns) {
        key += ValueText(row[table_.IndexOf(column)]);
        key += '\x1f';
    }
    return key;
}

std::string ImportChecks::Describe(const TableRow& row,
                                   const std::vector<std::string>& columns) const {
    std::string text;
    for (const std::string& column : columns) {
        text += (text.empty() ? "" : ", ") + column + " " + ValueText(row[table_.IndexOf(column)]);
    }
    return text;
}

void ImportChecks::AddExisting(const TableRow& row) {
    Add(0, row);
}

void ImportChecks::AddParent(const TableRow& frTableRow) {
    std::string key;
    key += ValueText(frTableRow[0]) + '\x1f' + ValueText(frTableRow[1]) + '\x1f';
    parents_.insert(key);
}

std::optional<std::string> ImportChecks::AddFromFile(int line, const TableRow& row) {
    if (NeedsParents() && parents_.count(KeyOf(row, kPartAndEnvironment)) == 0) {
        return "no FRTable row for " + Describe(row, kPartAndEnvironment) +
               " (import its FRTable row first)";
    }
    return Add(line, row);
}

std::optional<std::string> ImportChecks::Add(int line, const TableRow& row) {
    const auto [existing, added] = keys_.emplace(KeyOf(row, table_.keyColumns), line);
    if (!added) {
        return "a row with " + Describe(row, table_.keyColumns) + " is already " +
               Origin(existing->second);
    }
    if (table_.name != "FRTablePoint") {
        return std::nullopt;
    }
    const double rate = std::get<double>(row[table_.IndexOf("Rate")]);
    if (rate == 0.0) {
        return std::nullopt;
    }
    const double temperature = std::get<double>(row[table_.IndexOf("Temperature")]);
    auto& points = usablePoints_[KeyOf(row, kPartAndEnvironment)];
    for (const auto& [otherTemperature, otherLine] : points) {
        if (otherTemperature == temperature) {
            keys_.erase(existing);
            return "a point of " + Describe(row, kPartAndEnvironment) + " at Temperature " +
                   ValueText(temperature) + " is already " + Origin(otherLine);
        }
    }
    points.emplace_back(temperature, line);
    return std::nullopt;
}

}  // namespace tavrin21::host
