#include "framework/recordset.h"

#include "framework/database.h"
#include "framework/db_exception.h"
#include "framework/odbc_api.h"
#include "framework/statement.h"
#include "framework/statement_cache.h"
#include "tests/library/backend_fixture.h"
#include "tests/support/sql_script.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
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

    // A column of the current row as text, or as a number (nothing for NULL). Each read starts
    // from a stale value, so a read that leaves its target alone shows.
    static std::string Text(Recordset& rows, std::string_view column) {
        std::string text = "(stale)";
        rows.GetFieldValue(column, text);
        return text;
    }
    static std::optional<double> Number(Recordset& rows, std::string_view column) {
        DbVariant number{false, -1.0};
        rows.GetFieldValue(column, number);
        return number.isNull ? std::nullopt : std::optional(number.value);
    }
};

// Columns are found by name whatever its case and read as text or as numbers: NULL reads as empty
// text and as no number, long text comes whole, and an unknown column, a read past the end, a
// move past the end and a read from an unopened set throw.
TEST_P(RecordsetTest, ReadsColumnsByNameIgnoringCaseAsTextAndAsNumbers) {
    Recordset rows(primary_.get());
    rows.Open("SELECT PartNumber, Code, Value FROM Parts ORDER BY Id");
    ASSERT_FALSE(rows.IsEOF());
    EXPECT_EQ((std::tuple{Text(rows, "partnumber"), Number(rows, "CODE"), Number(rows, "Value")}),
              std::tuple("A'1", 7.0, 0.1));
    rows.MoveNext();
    EXPECT_EQ((std::tuple{Text(rows, "PartNumber"), Number(rows, "Value")}),
              std::tuple("", std::nullopt));
    rows.MoveNext();
    EXPECT_EQ(Text(rows, "Code"), "300");
    EXPECT_THROW(Text(rows, "NoSuchColumn"), DbException);
    rows.MoveNext();
    EXPECT_EQ(Text(rows, "PartNumber"), kLongText);
    rows.MoveNext();
    EXPECT_TRUE(rows.IsEOF());
    EXPECT_THROW(Text(rows, "Code"), DbException);
    EXPECT_THROW(rows.MoveNext(), DbException);
    Recordset unopened(primary_.get());
    EXPECT_THROW(Text(unopened, "Code"), DbException);
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
    EXPECT_EQ((std::tuple{Text(rows, "PartNumber"), Number(rows, "Code"), Number(rows, "Value")}),
              std::tuple("B", std::nullopt, 2.5));
}

TEST_P(RecordsetTest, PreparedStatementRunsAgainWithNewParametersUntilTheDatabaseCloses) {
    const std::string sql = "SELECT PartNumber FROM Parts WHERE Code = ?";
    PreparedStatement& byCode = Db().Statements().Get(Db(), sql);
    EXPECT_EQ(&Db().Statements().Get(Db(), sql), &byCode);

    Recordset rows(primary_.get());
    for (const auto& [code, part] : {std::pair{7L, "A'1"}, {300L, "12abc"}, {7L, "A'1"}}) {
        rows.Open(byCode, {code});
        EXPECT_EQ(Text(rows, "PartNumber"), part);
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
    const std::string sql = "SELECT PartNumber FROM Parts WHERE Code = ?";
    for (const auto& [name, call] : {std::pair{"allocate", Call::AllocStatement},
                                     {"prepare", Call::Prepare},
                                     {"bind", Call::BindParameter},
                                     {"execute", Call::Execute},
                                     {"end the previous result", Call::CloseCursor}}) {
        SCOPED_TRACE(name);
        const bool throws = call != Call::CloseCursor;  // or absorbed and the call made again
        const std::unique_ptr<Database> connection = Connect("primary");
        Database& database = *connection;
        Recordset parts(&database);
        const auto partOfCode = [&](long code) {
            parts.Open(database.Statements().Get(database, sql), {code});
            return Text(parts, "PartNumber");
        };
        odbc::InjectFault(call, 0);
        if (throws) {
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
