#include "framework/platform/sql_dialect.h"

#include "framework/database.h"
#include "framework/recordset.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/sql_script.h"

#include <gtest/gtest.h>

namespace framework {
namespace {

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
        {"SQLite", "select * from top1", "select * from top1"},
        {"SQLite", "select top 1", "select top 1"},
        {"ACCESS", "select top 1 * from t", "select top 1 * from t"},
        {"", "select top 1 * from t", "select top 1 * from t"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.dbms) + ": " + row.given);
        EXPECT_EQ(SqlForDbms(row.dbms, row.given), row.expected);
    }
}

TEST(SqlForDbms, RecordsetRunsTopOnSqlite) {
    tavrin21::test::ScratchDirectory folder;
    Database database;
    database.Open(tavrin21::test::SqliteConnectString(folder / "top.sqlite"));
    EXPECT_EQ(DbmsName(database.NativeHandle()), "SQLite");
    database.ExecuteSQL("CREATE TABLE T (N INTEGER)");
    database.ExecuteSQL("INSERT INTO T VALUES (1), (2), (3)");

    Recordset rows(&database);
    rows.Open("select top 2 * from T order by N desc");
    EXPECT_EQ(rows.Sql(), "select top 2 * from T order by N desc");
    int count = 0;
    for (; !rows.IsEOF(); rows.MoveNext()) {
        ++count;
    }
    EXPECT_EQ(count, 2);
}

}  // namespace
}  // namespace framework
