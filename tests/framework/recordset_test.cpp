#include "framework/recordset.h"

#include "framework/database.h"
#include "framework/db_exception.h"
#include "framework/odbc_api.h"
#include "framework/statement.h"
#include "framework/statement_cache.h"
#include "tests/library/backend_fixture.h"
#include "tests/support/sql_script.h"

#include <stdexcept>
#include <string>
#include <utility>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace framework {
namespace {

using ::testing::AllOf;
using ::testing::Property;
using ::testing::StartsWith;
using ::testing::Throws;

const std::string kLongText(5000, 'x');  // longer than one chunk of SQLGetData

class RecordsetTest : public tavrin21::test::BackendTest {
  protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        tavrin21::test::RunSqlScript(Db(),
                                     "CREATE TABLE Parts (Id INTEGER, PartNumber TEXT, Code "
                                     "INTEGER, Value DOUBLE PRECISION);\n"
                                     "INSERT INTO Parts VALUES (1, 'A''1', 7, 0.1);\n"
                                     "INSERT INTO Parts VALUES (2, NULL, NULL, NULL);\n"
                                     "INSERT INTO Parts VALUES (3, '12abc', 300, -2.5);\n"
                                     "INSERT INTO Parts VALUES (4, '" +
                                         kLongText + "', 1, 1);");
    }
    Database& Db() { return *primary_; }
};

TEST_P(RecordsetTest, ReadsColumnsByNameIgnoringCaseAsTextAndAsNumbers) {
    Recordset rows(primary_.get());
    rows.Open("SELECT PartNumber, Code, Value FROM Parts ORDER BY Id");
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
    EXPECT_THROW(rows.GetFieldValue("NoSuchColumn", text), DbException);

    rows.MoveNext();
    rows.GetFieldValue("PartNumber", text);
    EXPECT_EQ(text, kLongText);
    rows.MoveNext();
    EXPECT_TRUE(rows.IsEOF());
    EXPECT_THROW(rows.GetFieldValue("Code", text), DbException);
    EXPECT_THROW(rows.MoveNext(), DbException);
    EXPECT_THROW(Recordset(primary_.get()).GetFieldValue("Code", text), DbException);  // unopened
}

// Parameters are bound, not spliced into the text, so a quote in one cannot widen the query;
// an empty result and a failed opening both leave the set at end of data.
TEST_P(RecordsetTest, BindsParametersAndEmptyOrFailedOpeningsReportEndOfData) {
    Recordset rows(primary_.get());
    rows.Open("SELECT Code FROM Parts WHERE PartNumber = ? AND Code = ?", {std::string("A'1"), 7L});
    ASSERT_FALSE(rows.IsEOF());
    rows.Open("SELECT Code FROM Parts WHERE PartNumber = ?", {std::string("x' OR '1'='1")});
    EXPECT_TRUE(rows.IsEOF());
    rows.Open("SELECT * FROM Parts WHERE Code = 12345");
    EXPECT_EQ(std::pair(rows.IsOpen(), rows.IsEOF()), std::pair(true, true));
    EXPECT_THAT([&] { rows.Open("SELECT * FROM NoSuchTable"); },
                Throws<DbException>(
                    Property("Statement", &DbException::Statement, "SELECT * FROM NoSuchTable")));
    EXPECT_EQ(std::pair(rows.IsOpen(), rows.IsEOF()), std::pair(false, true));
}

TEST_P(RecordsetTest, AStatementWritesNumbersAndTypedNullsAndMayMeetNoRow) {
    Statement update(Db(), "UPDATE Parts SET Code = ?, Value = ?, PartNumber = ? WHERE Id = ?",
                     {SqlType::Integer, SqlType::Double, SqlType::Text, SqlType::Integer});
    update.Execute({SqlValue(), 2.5, std::string("B"), std::int32_t{1}});
    update.Execute({SqlValue(), SqlValue(), SqlValue(), std::int32_t{99}});
    EXPECT_THROW(update.Execute({2.5, 2.5, std::string("B"), std::int32_t{1}}),
                 std::invalid_argument);

    Recordset rows(primary_.get());
    rows.Open("SELECT PartNumber, Code, Value FROM Parts WHERE Id = 1");
    std::string text;
    DbVariant number;
    rows.GetFieldValue("PartNumber", text);
    EXPECT_EQ(text, "B");
    rows.GetFieldValue("Code", number);
    EXPECT_TRUE(number.isNull);
    rows.GetFieldValue("Value", number);
    EXPECT_EQ(number.value, 2.5);
}

TEST_P(RecordsetTest, PreparedStatementRunsAgainWithNewParametersUntilTheDatabaseCloses) {
    const std::string sql = "SELECT PartNumber FROM Parts WHERE Code = ?";
    PreparedStatement& byCode = Db().Statements().Get(Db(), sql);
    EXPECT_EQ(&Db().Statements().Get(Db(), sql), &byCode);

    Recordset rows(primary_.get());
    std::string text;
    for (const auto& [code, part] : {std::pair{7L, "A'1"}, {300L, "12abc"}, {7L, "A'1"}}) {
        rows.Open(byCode, {code});
        rows.GetFieldValue("PartNumber", text);
        EXPECT_EQ(text, part);
        rows.MoveNext();
        EXPECT_TRUE(rows.IsEOF());
    }

    // One result, one reader.
    Recordset other(primary_.get());
    rows.Open(byCode, {7L});
    EXPECT_THROW(other.Open(byCode, {7L}), DbException);
    rows.Close();
    other.Open(byCode, {300L});
    EXPECT_FALSE(other.IsEOF());
    other.Close();

    Db().Close();
    EXPECT_EQ(Db().Statements().Size(), 0u);
}

// Whichever call of running a prepared statement fails, the error names the statement and the
// driver's state, and the next run works; only a failed end of the previous result is absorbed.
TEST_P(RecordsetTest, AFailedCallOnAPreparedStatementThrowsAndTheNextRunWorks) {
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
        const std::unique_ptr<Database> connection = Connect("primary");
        Database& database = *connection;
        Recordset parts(&database);
        const auto partOfCode = [&](long code) {
            parts.Open(database.Statements().Get(database, sql), {code});
            std::string part;
            parts.GetFieldValue("PartNumber", part);
            return part;
        };
        odbc::InjectFault(row.call, 0);
        if (row.throws) {
            EXPECT_THAT([&] { partOfCode(7); },
                        Throws<DbException>(AllOf(
                            Property("Statement", &DbException::Statement, sql),
                            Property("ErrorText", &DbException::ErrorText, StartsWith("HY000")))));
        } else {
            EXPECT_EQ(partOfCode(7), "A'1");
        }
        EXPECT_EQ(partOfCode(300), "12abc");
        odbc::ClearFaults();
    }
}

INSTANTIATE_TEST_SUITE_P(Backends,
                         RecordsetTest,
                         tavrin21::test::kAllBackends,
                         tavrin21::test::BackendName);

}  // namespace
}  // namespace framework
