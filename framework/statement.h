#pragma once

// A statement that returns no rows (INSERT, UPDATE, DELETE), prepared once and run with new
// parameter values each time, each value checked against its parameter's kind. Values are bound,
// never spliced into the SQL.

#include "framework/platform/export.h"
#include "framework/prepared_statement.h"

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace framework {

class Database;

// A parameter's value: NULL, or a value of the parameter's kind.
using SqlValue = std::variant<std::monostate, std::int32_t, double, std::string>;

class FRAMEWORK_API Statement {
  public:
    // Prepares `sql`, whose '?' parameters have the kinds `parameterTypes`, in order. Throws
    // DbException naming the SQL.
    Statement(Database& database, const std::string& sql, std::vector<SqlType> parameterTypes);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Runs the statement with `values`, one a parameter, each NULL or of its parameter's kind.
    // Throws std::invalid_argument for values that do not fit the parameters, and DbException
    // naming the SQL when the driver or the server refuses.
    void Execute(const std::vector<SqlValue>& values);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace framework
