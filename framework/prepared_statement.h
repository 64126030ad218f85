#pragma once

// A statement prepared once on an open Database and run again and again with new parameters:
// the database parses and plans it once, and no statement handle is allocated per run.

#include "framework/platform/export.h"

#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace framework {

class Database;
class Recordset;

// The kind of a '?' parameter; a NULL is bound with the kind of its column, because a server
// that types its parameters rejects a text NULL for a number column.
enum class SqlType { Text, Integer, Double };

// A NULL bound to a parameter of the given kind.
struct SqlNull {
    SqlType type = SqlType::Text;
};

// A value bound to a '?' of a prepared statement.
using SqlParameter = std::variant<std::string, long, double, SqlNull>;

class FRAMEWORK_API PreparedStatement {
  public:
    // Prepares `sql` on `database`, which must stay open while the statement lives (a Database
    // drops the statements of its StatementCache before it disconnects). Throws DbException
    // naming the SQL.
    PreparedStatement(Database& database, const std::string& sql);
    ~PreparedStatement();
    PreparedStatement(const PreparedStatement&) = delete;
    PreparedStatement& operator=(const PreparedStatement&) = delete;

    // Ends the previous result, binds `parameters` to the '?' in order and runs the statement
    // (a query, or a statement that returns no rows). The values are copied into the statement,
    // which owns what the driver reads. Every run takes as many parameters as the first. Throws
    // DbException naming the SQL.
    void Execute(const std::vector<SqlParameter>& parameters);

    // Whether the last Execute threw.
    bool LastRunFailed() const;

    // Ends the current result. Never throws: should the driver fail, the next Execute ends the
    // result again and reports the failure.
    void CloseCursor() noexcept;

    const std::string& Sql() const;
    // The names of the result's columns, described at the first Execute.
    const std::vector<std::string>& ColumnNames() const;
    // The ODBC statement handle (SQLHSTMT).
    void* NativeHandle() const;

  private:
    friend class Recordset;  // leases the result to one record set at a time

    struct Impl;
    std::unique_ptr<Impl> impl_;
    bool leased_ = false;
};

}  // namespace framework
