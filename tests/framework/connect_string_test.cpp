#include "framework/platform/connect_string.h"

#include "framework/db_exception.h"
#include "framework/platform/host_system.h"
#include "framework/platform/windows_path.h"

#include <gtest/gtest.h>

namespace framework {
namespace {

// Connecting to the file DBQ names, and refusing an empty driver, are shown end to end by the
// library-file tests; here the rewrite itself, row by row.
TEST(ConnectStringForDriverManager, DbqBecomesDatabaseSqliteStepsAndNoDriverIsRefused) {
    if (framework::HostIsWindows()) {
        GTEST_SKIP() << "Windows' driver manager and the Access driver take the connect string "
                        "as composed";
    }
    const PathMapping previous = SetPathMapping({"/root", {}});
    const char* const kRefused = "refused: IM002";
    const struct {
        const char* given;
        const char* expected;
    } rows[] = {
        {"ODBC;DRIVER={Access};DSN='';DBQ=\\LIB\\zova.mdb;Uid=;Pwd=;",
         "ODBC;DRIVER={Access};DSN='';Database=/root/LIB/zova.mdb;Uid=;Pwd=;"},
        {"DRIVER={A;B};dbq={\\LIB\\a;b.mdb}", "DRIVER={A;B};Database={/root/LIB/a;b.mdb}"},
        {"DRIVER=SQLite3;Database=/x.sqlite", "DRIVER=SQLite3;Database=/x.sqlite;StepAPI=1"},
        {"driver = {sqlite3} ;Database=/x.sqlite;",
         "driver = {sqlite3} ;Database=/x.sqlite;StepAPI=1;"},
        {"DRIVER=SQLite3;stepapi=0;Database=/x.sqlite",
         "DRIVER=SQLite3;stepapi=0;Database=/x.sqlite"},
        {"DRIVER={PostgreSQL Unicode};Server=h", "DRIVER={PostgreSQL Unicode};Server=h"},
        {"DRIVER=X;DBQ=\\a.mdb;Database=/b.sqlite", "DRIVER=X;DBQ=\\a.mdb;Database=/b.sqlite"},
        // An empty Database makes the SQLite driver create a file named after the connect string.
        {"DRIVER=X;DBQ=;Uid=;", "DRIVER=X;DBQ=;Uid=;"},
        {"", ""},
        // unixODBC would take the first driver of its list and open some other database.
        {"ODBC;DRIVER={};DSN='';DBQ=\\LIB\\zova.mdb;Uid=;Pwd=secret;", kRefused},
        {"driver=;Database=/x.sqlite;Pwd=secret", kRefused},
        {"DRIVER = { } ;DSN=x", kRefused},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.given);
        std::string result;
        try {
            result = ConnectStringForDriverManager(row.given);
        } catch (const DbException& error) {
            result = "refused: " + error.SqlState();
            EXPECT_EQ(error.Statement().find("secret"), std::string::npos);
        }
        EXPECT_EQ(result, row.expected);
    }
    SetPathMapping(previous);
}

}  // namespace
}  // namespace framework
