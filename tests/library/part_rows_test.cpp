#include "framework/db_exception.h"
#include "framework/message_box.h"
#include "framework/odbc_api.h"
#include "framework/recordset.h"
#include "library/failure_library.h"
#include "tests/library/backend_fixture.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

using test::Backend;
using test::PartFrRow;

struct ShownBox {
    std::string text;
    unsigned type;
    unsigned helpContext;
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

class PartRowsTest : public test::BackendTest {
  protected:
    void SetUp() override {
        test::BackendTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        db_ = Databases().Connect("library");
    }
    void TearDown() override { framework::odbc::ClearFaults(); }

    framework::Database& Db() { return *db_; }

    // The rows the key's query yields, read one by one.
    std::vector<PartFailureRecord> ReadAll(const std::string& sql) {
        framework::Recordset rows(db_.get());
        std::vector<PartFailureRecord> records;
        if (library_.OpenRows(rows, sql) != kRowsOpen) {
            return records;
        }
        for (; !rows.IsEOF(); rows.MoveNext()) {
            library_.ReadRow(records.emplace_back(), rows);
        }
        return records;
    }

    const FailureLibrary library_{"", ""};
    std::vector<ShownBox> boxes_;
    framework::ScopedMessageSink sink_{
        [this](const std::string& text, unsigned type, unsigned helpContext) {
            boxes_.push_back({text, type, helpContext});
            return framework::kIdOk;
        }};

  private:
    std::unique_ptr<framework::Database> db_;
};

TEST_P(PartRowsTest, QuerySelectsTheKeysRowsInNumericTimeNumberOrder) {
    test::RecreatePartFr(Db());
    // Without the key's index both engines scan in insertion order, so only the query's own
    // ORDER BY sorts. Inserted out of order; 10 sorts after 9 only as a number.
    Db().ExecuteSQL("DROP INDEX PartFR_PartKey");
    test::InsertPartFrRows(Db(), {{"O'RING-3", 10, 7, 0, 100.5, 0},
                                  {"O'RING-3", 2, 7, 0, 20.5, 1},
                                  {"O'RING-3", 9, 7, 0, 90.5, 0},
                                  {"O'RING-3", 1, 7, 0, 10.5, 0},
                                  {"O'RING-3", 5, 8, 0, 50.5, 0},
                                  {"O'RING-3", 3, 7, 1, 30.5, 0},
                                  {"O'RING-30", 4, 7, 0, 40.5, 0},
                                  {"ORING-3", 6, 7, 0, 60.5, 0},
                                  {"P", 7, 255, 0, 70.5, 1}});
    const struct {
        const char* name;
        std::string partNumber;
        std::uint8_t envCode;
        std::uint8_t procCode;
        std::vector<int> timeNumbers;
    } keys[] = {
        {"several rows", "O'RING-3", 7, 0, {1, 2, 9, 10}},
        {"other environment", "O'RING-3", 8, 0, {5}},
        {"other process", "O'RING-3", 7, 1, {3}},
        {"environment 255", "P", 255, 0, {7}},
        {"no row for the environment", "O'RING-3", 9, 0, {}},
        {"no such part", "O'RING", 7, 0, {}},
    };
    for (const auto& key : keys) {
        SCOPED_TRACE(key.name);
        PartFailureRecord record;
        record.PartNumber = key.partNumber;
        record.EnvCode = key.envCode;
        record.ProcCode = key.procCode;
        const std::string sql = library_.BuildPartQuery(record);

        EXPECT_EQ(library_.CountRows(&Db(), sql), static_cast<int>(key.timeNumbers.size()));
        std::vector<int> read;
        for (const PartFailureRecord& row : ReadAll(sql)) {
            read.push_back(row.TimeNumber);
            EXPECT_EQ(row.PartNumber, key.partNumber);
            EXPECT_EQ(row.EnvCode, key.envCode);
            EXPECT_EQ(row.ProcCode, key.procCode);
            EXPECT_EQ(row.FRTime, row.TimeNumber * 10 + 0.5);
        }
        EXPECT_EQ(read, key.timeNumbers);
    }
    EXPECT_TRUE(boxes_.empty());
}

TEST_P(PartRowsTest, OpenRowsClosesTheSetWhenThereIsNoRow) {
    test::RecreatePartFr(Db());
    framework::Recordset rows(&Db());
    EXPECT_EQ(library_.OpenRows(rows, "SELECT * FROM PartFR ORDER BY TimeNumber"), kRowsNone);
    EXPECT_FALSE(rows.IsOpen());
    EXPECT_TRUE(rows.IsEOF());
    EXPECT_TRUE(boxes_.empty());
}

// Columns are found by name, whatever their place and case; integers arrive as text and are
// converted as atoi converts; doubles arrive as doubles.
TEST_P(PartRowsTest, ReadRowConvertsEveryColumnByName) {
    Db().ExecuteSQL("DROP TABLE IF EXISTS PartFR");
    Db().ExecuteSQL(
        "CREATE TABLE PartFR (Extra INTEGER, GrowthRate DOUBLE PRECISION, Mtbfi DOUBLE PRECISION, "
        "Mtbfc DOUBLE PRECISION, TimeBtw DOUBLE PRECISION, Tc DOUBLE PRECISION, ItemNumber "
        "VARCHAR(30), Remark VARCHAR(255), IsCencored VARCHAR(30), FRDate VARCHAR(30), FRTime "
        "DOUBLE PRECISION, ProcCode VARCHAR(30), EnvCode VARCHAR(30), TimeNumber VARCHAR(30), "
        "PartNumber VARCHAR(62))");
    Db().ExecuteSQL(
        "INSERT INTO PartFR VALUES "
        "(1, 150.25, 0.35, -2, 15000000000, 1e-300, '2147483648', 'still running', ' 1', "
        "'2001-02-03', 0.1, '-1', '300', '12abc', 'AB''12'), "
        "(2, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL), "
        "(3, 0, 0, 0, 0, 0, ' -12 units', '', 'x', '', 38.5, '+7', '255', '', 'P')");

    PartFailureRecord full;
    full.PartNumber = "AB'12";
    full.TimeNumber = 12;
    full.EnvCode = 44;    // 300 keeps its low 8 bits
    full.ProcCode = 255;  // and so does -1
    full.FRTime = 0.1;
    full.FRDate = "2001-02-03";
    full.IsCencored = 1;
    full.Remark = "still running";
    full.ItemNumber = std::numeric_limits<std::int32_t>::max();
    full.Tc = 1e-300;
    full.TimeBtw = 15000000000.0;
    full.Mtbfc = -2.0;
    full.Mtbfi = 0.35;
    full.GrowthRate = 150.25;

    const PartFailureRecord allNull;  // NULL texts read empty, NULL numbers 0

    PartFailureRecord junk;
    junk.PartNumber = "P";
    junk.ProcCode = 7;
    junk.EnvCode = 255;
    junk.FRTime = 38.5;
    junk.ItemNumber = -12;

    const PartFailureRecord expected[] = {full, allNull, junk};
    framework::Recordset rows(&Db());
    ASSERT_EQ(library_.OpenRows(rows, "SELECT * FROM PartFR ORDER BY Extra"), kRowsOpen);
    for (const PartFailureRecord& want : expected) {
        SCOPED_TRACE(&want - expected);
        ASSERT_FALSE(rows.IsEOF());
        PartFailureRecord got;  // filled with other values first: every field must be written
        got.PartNumber = "key";
        got.TimeNumber = 99;
        got.EnvCode = 99;
        got.ProcCode = 99;
        got.FRTime = got.Tc = got.TimeBtw = got.Mtbfc = got.Mtbfi = got.GrowthRate = 99.0;
        got.FRDate = got.Remark = "old";
        got.IsCencored = 99;
        got.ItemNumber = 99;
        library_.ReadRow(got, rows);
        EXPECT_EQ(got.PartNumber, want.PartNumber);
        EXPECT_EQ(got.TimeNumber, want.TimeNumber);
        EXPECT_EQ(got.EnvCode, want.EnvCode);
        EXPECT_EQ(got.ProcCode, want.ProcCode);
        EXPECT_EQ(got.FRTime, want.FRTime);
        EXPECT_EQ(got.FRDate, want.FRDate);
        EXPECT_EQ(got.IsCencored, want.IsCencored);
        EXPECT_EQ(got.Remark, want.Remark);
        EXPECT_EQ(got.ItemNumber, want.ItemNumber);
        EXPECT_EQ(got.Tc, want.Tc);
        EXPECT_EQ(got.TimeBtw, want.TimeBtw);
        EXPECT_EQ(got.Mtbfc, want.Mtbfc);
        EXPECT_EQ(got.Mtbfi, want.Mtbfi);
        EXPECT_EQ(got.GrowthRate, want.GrowthRate);
        rows.MoveNext();
    }
    EXPECT_TRUE(rows.IsEOF());
}

TEST_P(PartRowsTest, ReadRowOfATableWithoutAColumnThrows) {
    Db().ExecuteSQL("DROP TABLE IF EXISTS PartFR");
    Db().ExecuteSQL(
        "CREATE TABLE PartFR (PartNumber VARCHAR(62), TimeNumber INTEGER, EnvCode INTEGER, "
        "ProcCode INTEGER, FRTime DOUBLE PRECISION, IsCencored INTEGER)");
    Db().ExecuteSQL("INSERT INTO PartFR VALUES ('P', 1, 1, 0, 5.0, 0)");
    framework::Recordset rows(&Db());
    ASSERT_EQ(library_.OpenRows(rows, "SELECT * FROM PartFR"), kRowsOpen);
    PartFailureRecord record;
    EXPECT_THROW(library_.ReadRow(record, rows), framework::DbException);
    EXPECT_TRUE(boxes_.empty());
}

TEST_P(PartRowsTest, ErrorWhileOpeningIsShownOnceByEachOperation) {
    Db().ExecuteSQL("DROP TABLE IF EXISTS PartFR");
    PartFailureRecord key;
    key.PartNumber = "RLY-2210";
    key.EnvCode = 3;
    const std::string sql = library_.BuildPartQuery(key);

    EXPECT_EQ(library_.CountRows(&Db(), sql), 1);
    ASSERT_EQ(boxes_.size(), 1u);
    framework::Recordset rows(&Db());
    EXPECT_EQ(library_.OpenRows(rows, sql), kRowsNotOpened);
    EXPECT_TRUE(rows.IsEOF());
    ASSERT_EQ(boxes_.size(), 2u);

    for (const ShownBox& box : boxes_) {
        const std::string heading = kMessageLibraryReadError;
        const std::string tail = "\n" + sql;
        EXPECT_EQ(box.type, framework::kMessageBoxOk);
        EXPECT_EQ(box.helpContext, 16u);
        ASSERT_GT(box.text.size(), heading.size() + tail.size());
        EXPECT_EQ(box.text.substr(0, heading.size()), heading);
        EXPECT_EQ(box.text.substr(box.text.size() - tail.size()), tail);
        const std::string errorText =
            box.text.substr(heading.size(), box.text.size() - heading.size() - tail.size());
        EXPECT_NE(Lower(errorText).find("partfr"), std::string::npos) << errorText;
        EXPECT_LE(errorText.size(), 254u);
    }
}

TEST_P(PartRowsTest, NoConnectionIsAnErrorShownOnce) {
    EXPECT_EQ(library_.CountRows(nullptr, "SELECT * FROM PartFR"), 1);
    framework::Database closed;
    EXPECT_EQ(library_.CountRows(&closed, "SELECT * FROM PartFR"), 1);
    EXPECT_EQ(boxes_.size(), 2u);
}

// Only the opening is guarded: a failure while walking or reading the rows reaches the caller.
TEST_P(PartRowsTest, ErrorWhileMovingOrReadingReachesTheCaller) {
    test::RecreatePartFr(Db());
    test::InsertPartFrRows(Db(), {{"P", 1, 1, 0, 30.0, 0}, {"P", 2, 1, 0, 40.0, 0}});
    const std::string sql = "SELECT * FROM PartFR ORDER BY TimeNumber";

    framework::odbc::InjectFault(framework::odbc::Call::Fetch, 1);  // the first move
    EXPECT_THROW(library_.CountRows(&Db(), sql), framework::DbException);

    framework::Recordset rows(&Db());
    ASSERT_EQ(library_.OpenRows(rows, sql), kRowsOpen);
    framework::odbc::InjectFault(framework::odbc::Call::GetData, 4);  // the fifth column
    PartFailureRecord record;
    EXPECT_THROW(library_.ReadRow(record, rows), framework::DbException);
    EXPECT_TRUE(boxes_.empty());
}

INSTANTIATE_TEST_SUITE_P(Backends,
                         PartRowsTest,
                         ::testing::ValuesIn(test::AllBackends()),
                         test::BackendParamName);

}  // namespace
}  // namespace tavrin21
