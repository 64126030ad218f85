#include "framework/platform/sql_dialect.h"

#include <gtest/gtest.h>

namespace framework {
namespace {

// Reading through SQLite end to end is shown by the format-version probe of library files.
TEST(SqlForDbms, TopBecomesLimitWhereOnlyLimitIsKnown) {
    const struct {
        const char* dbms;
        const char* given;
        const char* expected;
    } rows[] = {
        {"SQLite", "select top 1 * from LinkedPhasesQq", "select * from LinkedPhasesQq LIMIT 1"},
        {"PostgreSQL", "  SELECT  TOP 25 a, b FROM t ORDER BY a;",
         "  SELECT a, b FROM t ORDER BY a LIMIT 25"},
        {"SQLite", "select top 10 percent * from t", "select top 10 percent * from t"},
        {"SQLite", "select top(1) * from t", "select top(1) * from t"},
        {"SQLite", "select topmost from t", "select topmost from t"},
        {"SQLite", "select top 1", "select top 1"},
        {"ACCESS", "select top 1 * from t", "select top 1 * from t"},
        {"", "select top 1 * from t", "select top 1 * from t"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.dbms) + ": " + row.given);
        EXPECT_EQ(SqlForDbms(row.dbms, row.given), row.expected);
    }
}

}  // namespace
}  // namespace framework
