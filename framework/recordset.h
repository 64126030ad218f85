#pragma once

// A forward-only, read-only result set on an open Database, read column by column by name.

#include "framework/db_variant.h"
#include "framework/platform/export.h"
#include "framework/prepared_statement.h"

#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace framework {

class Database;

class FRAMEWORK_API Recordset {
  public:
    explicit Recordset(Database* database);
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Runs `sql` and moves to the first row. Throws DbException naming the SQL; the record set
    // is then closed and reports end of data.
    void Open(const std::string& sql);
    // The same for a statement with '?' placeholders, bound in order to `parameters`.
    void Open(const std::string& sql, const std::vector<SqlParameter>& parameters);
    // Runs `statement` (prepared on this record set's database) again with `parameters`. The
    // record set reads its result until closed; meanwhile no other record set may open it.
    // Close the record set before the database closes: that frees the statement.
    void Open(PreparedStatement& statement, const std::vector<SqlParameter>& parameters);

    bool IsOpen() const;
    // True past the last row, for an empty result, and whenever the set is not open.
    bool IsEOF() const;
    // Moves to the next row. Throws DbException when the driver fails to fetch.
    void MoveNext();
    void Close();

    // The column `name` (case-insensitive: servers may fold unquoted names to lower case) of
    // the current row. Text of a NULL is empty. Throws DbException when there is no current
    // row, no such column, or the driver fails.
    void GetFieldValue(std::string_view name, std::string& value);
    void GetFieldValue(std::string_view name, DbVariant& value);

    const std::vector<std::string>& ColumnNames() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace framework
