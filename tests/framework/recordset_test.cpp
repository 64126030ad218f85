#include "framework/recordset.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/database.h"
#include "framework/db_exception.h"
#include "framework/odbc_api.h"
#include "framework/statement_cache.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/sql_script.h"

namespace framework {
namespace {

using tavrin21::test::ScratchDirectory;

class RecordsetTest : public ::testing::Test {
protected:
    void SetUp() override {
        database_.Open(tavrin21::test::SqliteConnectString(scratch_ / "r.sqlite"));
        tavrin21::test::RunSqlScript(database_,
                                     "CREATE TABLE Parts (PartNumber TEXT, Code INTEGER, Value DOUBLE PRECISION);"
                                     "INSERT INTO Parts VALUES ('A''1', 7, 0.1);"
                                     "INSERT INTO Parts VALUES (NULL, NULL, NULL);"
                                     "INSERT INTO Parts VALUES ('12abc', 300, -2.5);");
    }
    ScratchDirectory scratch_;
    Database database_;
};

TEST_F(RecordsetTest, ReadsColumnsByNameIgnoringCaseAsTextAndAsNumbers) {
    Recordset rows(&database_);
    rows.Open("SELECT PartNumber, Code, Value FROM Parts ORDER BY rowid");
    ASSERT_FALSE(rows.IsEOF());

    std::string text;
    DbVariant number;
    rows.GetFieldValue("partnumber", text);
    EXPECT_EQ(text, "A'1");
    rows.GetFieldValue("CODE", number);
    EXPECT_FALSE(number.isNull);
    EXPECT_EQ(number.value, 7.0);
    rows.GetFieldValue("Value", number);
    EXPECT_EQ(number.value, 0.1);

    rows.MoveNext();
    rows.GetFieldValue("PartNumber", text);
    EXPECT_EQ(text, "");
    rows.GetFieldValue("Value", number);
    EXPECT_TRUE(number.isNull);

    rows.MoveNext();
    rows.GetFieldValue("Code", text);
    EXPECT_EQ(text, "300");
    rows.MoveNext();
    EXPECT_TRUE(rows.IsEOF());
    EXPECT_THROW(rows.MoveNext(), DbException);
}

TEST_F(RecordsetTest, ReadsTextLongerThanOneChunk) {
    const std::string longText(5000, 'x');
    database_.ExecuteSQL("INSERT INTO Parts VALUES ('" + longText + "', 1, 1)");
    Recordset rows(&database_);
    rows.Open("SELECT PartNumber FROM Parts WHERE Code = 1");
    std::string text;
    rows.GetFieldValue("PartNumber", text);
    EXPECT_EQ(text, longText);
}

TEST_F(RecordsetTest, BindsParametersInsteadOfSplicingThem) {
    Recordset rows(&database_);
    rows.Open("SELECT Code FROM Parts WHERE PartNumber = ? AND Code = ?",
              {std::string("A'1"), 7L});
    ASSERT_FALSE(rows.IsEOF());
    rows.Open("SELECT Code FROM Parts WHERE PartNumber = ?", {std::string("x' OR '1'='1")});
    EXPECT_TRUE(rows.IsEOF());
}

TEST_F(RecordsetTest, EmptyResultAndFailedOpenBothReportEndOfData) {
    Recordset rows(&database_);
    rows.Open("SELECT * FROM Parts WHERE Code = 12345");
    EXPECT_TRUE(rows.IsOpen());
    EXPECT_TRUE(rows.IsEOF());

    try {
        rows.Open("SELECT * FROM NoSuchTable");
        FAIL();
    } catch (const DbException& error) {
        EXPECT_EQ(error.Statement(), "SELECT * FROM NoSuchTable");
    }
    EXPECT_FALSE(rows.IsOpen());
    EXPECT_TRUE(rows.IsEOF());
}

TEST_F(RecordsetTest, ReadingWithoutARowOrAnUnknownColumnThrows) {
    Recordset rows(&database_);
    std::string text;
    EXPECT_THROW(rows.GetFieldValue("Code", text), DbException);
    rows.Open("SELECT Code FROM Parts");
    EXPECT_THROW(rows.GetFieldValue("NoSuchColumn", text), DbException);
}

TEST_F(RecordsetTest, PreparedStatementRunsAgainWithNewParametersUntilTheDatabaseCloses) {
    const std::string sql = "SELECT PartNumber FROM Parts WHERE Code = ?";
    PreparedStatement& byCode = database_.Statements().Get(database_, sql);
    EXPECT_EQ(&database_.Statements().Get(database_, sql), &byCode);

    Recordset rows(&database_);
    std::string text;
    for (const auto& [code, part] : {std::pair{7L, "A'1"}, {300L, "12abc"}, {7L, "A'1"}}) {
        rows.Open(byCode, {code});
        rows.GetFieldValue("PartNumber", text);
        EXPECT_EQ(text, part);
        rows.MoveNext();
        EXPECT_TRUE(rows.IsEOF());
    }

    // One result, one reader.
    Recordset other(&database_);
    rows.Open(byCode, {7L});
    EXPECT_THROW(other.Open(byCode, {7L}), DbException);
    rows.Close();
    other.Open(byCode, {300L});
    EXPECT_FALSE(other.IsEOF());
    other.Close();

    database_.Close();
    EXPECT_EQ(database_.Statements().Size(), 0u);
}

TEST_F(RecordsetTest, AFailedCallOnAPreparedStatementThrowsAndTheNextRunWorks) {
    using odbc::Call;
    const struct {
        const char* name;
        Call call;
        bool throws;  // false: the failure is absorbed and the call made again
    } rows[] = {{"allocate", Call::AllocStatement, true},
                {"prepare", Call::Prepare, true},
                {"bind", Call::BindParameter, true},
                {"execute", Call::Execute, true},
                {"end the previous result", Call::CloseCursor, false}};
    const std::string sql = "SELECT PartNumber FROM Parts WHERE Code = ?";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Database database;
        database.Open(tavrin21::test::SqliteConnectString(scratch_ / "r.sqlite"));
        Recordset parts(&database);
        const auto partOfCode = [&](long code) {
            parts.Open(database.Statements().Get(database, sql), {code});
            std::string part;
            parts.GetFieldValue("PartNumber", part);
            return part;
        };
        odbc::InjectFault(row.call, 0);
        if (row.throws) {
            try {
                partOfCode(7);
                ADD_FAILURE() << "no error";
            } catch (const DbException& error) {
                EXPECT_EQ(error.Statement(), sql);
                EXPECT_EQ(error.ErrorText().find("HY000"), 0u) << error.ErrorText();
            }
        } else {
            EXPECT_EQ(partOfCode(7), "A'1");
        }
        EXPECT_EQ(partOfCode(300), "12abc");
        odbc::ClearFaults();
    }
}

}  // namespace
}  // namespace framework
