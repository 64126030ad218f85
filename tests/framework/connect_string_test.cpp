#include "framework/platform/connect_string.h"

#include "framework/database.h"
#include "framework/db_exception.h"
#include "framework/platform/windows_path.h"
#include "framework/recordset.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/sql_script.h"

#include <gtest/gtest.h>

namespace framework {
namespace {

class AccessConnectString : public ::testing::Test {
  protected:
    void SetUp() override { previous_ = SetPathMapping({folder_.Path(), {}}); }
    void TearDown() override { SetPathMapping(previous_); }

    tavrin21::test::ScratchDirectory folder_;

  private:
    PathMapping previous_;
};

TEST_F(AccessConnectString, DbqBecomesDatabaseWithTheHostPath) {
    const std::string root = folder_.Path().string();
    const struct {
        const char* name;
        std::string given;
        std::string expected;
    } rows[] = {
        {"as the module composes it", "ODBC;DRIVER={Access};DSN='';DBQ=\\LIB\\zova.mdb;Uid=;Pwd=;",
         "ODBC;DRIVER={Access};DSN='';Database=" + root + "/LIB/zova.mdb;Uid=;Pwd=;"},
        {"key in any case, value in braces, no final semicolon",
         "DRIVER={A;B};dbq={\\LIB\\a;b.mdb}", "DRIVER={A;B};Database={" + root + "/LIB/a;b.mdb}"},
        {"no DBQ", "DRIVER=SQLite3;Database=/x.sqlite", "DRIVER=SQLite3;Database=/x.sqlite"},
        {"a Database item of its own wins", "DRIVER=X;DBQ=\\a.mdb;Database=/b.sqlite",
         "DRIVER=X;DBQ=\\a.mdb;Database=/b.sqlite"},
        // An empty Database makes the SQLite driver create a file named after the connect string.
        {"empty DBQ", "DRIVER=X;DBQ=;Uid=;", "DRIVER=X;DBQ=;Uid=;"},
        {"empty", "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ConnectStringForDriverManager(row.given), row.expected);
    }
}

// unixODBC would take the first driver of its list for an empty DRIVER and open something else.
TEST_F(AccessConnectString, EmptyDriverIsRefused) {
    for (const char* given : {"ODBC;DRIVER={};DSN='';DBQ=\\LIB\\zova.mdb;Uid=;Pwd=secret;",
                              "driver=;Database=/x.sqlite", "DRIVER = { } ;DSN=x"}) {
        SCOPED_TRACE(given);
        try {
            ConnectStringForDriverManager(given);
            ADD_FAILURE() << "accepted";
        } catch (const DbException& error) {
            EXPECT_EQ(error.SqlState(), "IM002");
            EXPECT_EQ(error.Statement().find("secret"), std::string::npos);
        }
    }
    Database database;
    EXPECT_THROW(database.Open("DRIVER={};Database=" + (folder_ / "x.sqlite").string()),
                 DbException);
    EXPECT_FALSE(database.IsOpen());
    EXPECT_FALSE(std::filesystem::exists(folder_ / "x.sqlite"));
}

// Without the rewrite the SQLite driver would connect to an empty database of its own, and the
// table below would be missing.
TEST_F(AccessConnectString, ConnectsToTheFileDbqNames) {
    std::filesystem::create_directories(folder_ / "LIB");
    {
        Database setup;
        setup.Open(tavrin21::test::SqliteConnectString(folder_ / "LIB" / "lib.mdb"));
        setup.ExecuteSQL("CREATE TABLE Marker (Name TEXT)");
        setup.ExecuteSQL("INSERT INTO Marker VALUES ('library')");
    }
    Database database;
    // No DSN item: with the system's data sources the SQLite driver leaks while looking one up.
    database.Open("ODBC;DRIVER={SQLite3};DBQ=\\LIB\\lib.mdb;Uid=;Pwd=;");
    Recordset rows(&database);
    rows.Open("SELECT Name FROM Marker");
    std::string name;
    rows.GetFieldValue("Name", name);
    EXPECT_EQ(name, "library");
}

}  // namespace
}  // namespace framework
