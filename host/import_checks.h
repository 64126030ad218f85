#pragma once

// What rows to be imported must satisfy together and with the rows already in the library: no
// two rows with the same key; in FRTablePoint, usable points (rate not 0) of a part and
// environment at distinct temperatures, and an FRTable row for every part and environment.

#include "host/table_rows.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tavrin21::host {

class ImportChecks {
  public:
    explicit ImportChecks(TableSpec table) : table_(std::move(table)) {}

    // A row already in the table.
    void AddExisting(const TableRow& row);
    // The keys of FRTable, which the points of FRTablePoint need.
    void AddParent(const TableRow& frTableRow);

    // Records the file's row on `line`; returns why it conflicts with an earlier row of the
    // file or with the table, or nothing.
    std::optional<std::string> AddFromFile(int line, const TableRow& row);

    // Whether the check needs the keys of FRTable (the table is FRTablePoint).
    bool NeedsParents() const { return table_.name == "FRTablePoint"; }

  private:
    // Where a row came from: a line of the file, or 0 for the table.
    std::string Origin(int line) const;
    std::string KeyOf(const TableRow& row, const std::vector<std::string>& columns) const;
    std::string Describe(const TableRow& row, const std::vector<std::string>& columns) const;
    std::optional<std::string> Add(int line, const TableRow& row);

    TableSpec table_;
    std::map<std::string, int> keys_;  // key -> line, 0: table
    std::map<std::string, std::vector<std::pair<double, int>>>
        usablePoints_;  // part and env -> (temperature, line)
    std::set<std::string> parents_;
};

}  // namespace tavrin21::host
