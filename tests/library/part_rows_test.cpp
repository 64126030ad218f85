// Reading a part's failure history from PartFR: the query's text, and the rows as every backend
// gives them back.

#include "framework/db_exception.h"
#include "framework/odbc_api.h"
#include "framework/recordset.h"
#include "library/failure_library.h"
#include "tests/library/backend_fixture.h"

#include <cstdint>
#include <limits>
#include <tuple>

namespace tavrin21 {
namespace {

TEST(BuildPartQuery, DoublesApostrophesAndWritesTheCodesUnsigned) {
    const struct {
        std::string partNumber;
        std::uint8_t envCode;
        std::uint8_t procCode;
        const char* condition;
    } rows[] = {
        {"'X''", 1, 0, "PartNumber='''X''''' AND EnvCode = 1 AND ProcCode = 0"},
        {"P", 255, 200, "PartNumber='P' AND EnvCode = 255 AND ProcCode = 200"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.partNumber);
        PartFailureRecord key;
        key.PartNumber = row.partNumber;
        key.EnvCode = row.envCode;
        key.ProcCode = row.procCode;
        EXPECT_EQ(
            FailureLibrary("", "").BuildPartQuery(key),
            "SELECT * FROM PartFR WHERE " + std::string(row.condition) + " ORDER BY TimeNumber");
    }
}

using PartRows = test::BackendTest;

constexpr const char* kAllRows = "SELECT * FROM PartFR ORDER BY TimeNumber";

// PartFR with its columns in another order, integers held as text where the reader must parse
// them, and three rows stored out of TimeNumber order with no index to hand them out sorted.
void MakeOddPartFr(framework::Database& database) {
    database.ExecuteSQL(
        "CREATE TABLE PartFR (ItemNumber VARCHAR(30), GrowthRate FLOAT, Mtbfi FLOAT, Mtbfc FLOAT, "
        "TimeBtw FLOAT, Tc FLOAT, Remark VARCHAR(255), IsCencored INTEGER, FRDate VARCHAR(20), "
        "FRTime FLOAT, ProcCode INTEGER, EnvCode INTEGER, TimeNumber INTEGER, PartNumber TEXT)");
    database.ExecuteSQL("INSERT INTO PartFR (TimeNumber, ItemNumber) VALUES (10, ' -9999999999h')");
    database.ExecuteSQL(
        "INSERT INTO PartFR VALUES ('12abc', 150.25, 0.35, -2, 15e9, 1e-300, 'still running', 1, "
        "'2001-02-03', 0.1, -1, 300, 2, 'AB''12')");
    database.ExecuteSQL("INSERT INTO PartFR (TimeNumber, ItemNumber) VALUES (9, '+9999999999')");
}

auto Fields(const PartFailureRecord& r) {
    return std::tie(r.PartNumber, r.TimeNumber, r.EnvCode, r.ProcCode, r.FRTime, r.FRDate,
                    r.IsCencored, r.Remark, r.ItemNumber, r.Tc, r.TimeBtw, r.Mtbfc, r.Mtbfi,
                    r.GrowthRate);
}

// Columns are found by name; integers are read from their text as atoi reads it (saturating),
// the codes keeping their low byte; NULLs read as empty texts and zeros. Only the opening is
// guarded: a failure while walking or reading the rows reaches the caller, and shows nothing.
TEST_P(PartRows, ReadRowDecodesEachColumnInTimeNumberOrderAndLetsLaterFailuresThrough) {
    MakeOddPartFr(*primary_);
    PartFailureRecord expected[3];
    expected[0] = {"AB'12",         2,  44,     255,  0.1,  "2001-02-03", 1,
                   "still running", 12, 1e-300, 15e9, -2.0, 0.35,         150.25};
    expected[1].TimeNumber = 9;
    expected[1].ItemNumber = std::numeric_limits<std::int32_t>::max();
    expected[2].TimeNumber = 10;
    expected[2].ItemNumber = std::numeric_limits<std::int32_t>::min();
    const FailureLibrary library("", "");
    framework::Recordset rows(primary_.get());
    ASSERT_EQ(library.OpenRows(rows, kAllRows), kRowsOpen);
    PartFailureRecord read;  // one record for every row: each field must be written each time
    for (const PartFailureRecord& want : expected) {
        SCOPED_TRACE(want.TimeNumber);
        ASSERT_FALSE(rows.IsEOF());
        library.ReadRow(read, rows);
        EXPECT_EQ(Fields(read), Fields(want));
        rows.MoveNext();
    }
    EXPECT_TRUE(rows.IsEOF());
    // No row: the set is closed again and reports end of data.
    framework::Recordset none(primary_.get());
    EXPECT_EQ(library.OpenRows(none, "SELECT * FROM PartFR WHERE TimeNumber < 0"), kRowsNone);
    EXPECT_EQ(std::tuple(none.IsOpen(), none.IsEOF()), std::tuple(false, true));

    framework::odbc::InjectFault(framework::odbc::Call::Fetch, 1);  // the first move
    EXPECT_THROW(library.CountRows(primary_.get(), kAllRows), framework::DbException);
    ASSERT_EQ(library.OpenRows(rows, kAllRows), kRowsOpen);
    framework::odbc::InjectFault(framework::odbc::Call::GetData, 4);  // the fifth column
    EXPECT_THROW(library.ReadRow(read, rows), framework::DbException);
    EXPECT_TRUE(boxes_.empty());
}

INSTANTIATE_TEST_SUITE_P(Backends, PartRows, test::kAllBackends, test::BackendName);

}  // namespace
}  // namespace tavrin21
