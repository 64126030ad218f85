#include "calc/field_data_method.h"

#include "calc/calc_item.h"
#include "framework/db_exception.h"
#include "framework/message_box.h"
#include "framework/odbc_api.h"
#include "library/failure_library.h"
#include "tests/calc/field_histories.h"
#include "tests/support/sql_script.h"
#include "tests/support/vectors.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

using test::HistoryRows;
using test::kUntouchedResult;
using test::PartFrRow;
using test::WeibullDataSetNamed;

constexpr const char* kThreeFailures = "three failures";
constexpr const char* kTwoFailuresOneSuspension = "two failures and one suspension";
constexpr const char* kSuspensionsOnly = "suspensions only";
constexpr const char* kTenTimes = "10 times, shape 1.5, scale 500";
constexpr const char* kPreviousMessage = "previous message";

class FieldDataTest : public test::BackendTest {
  protected:
    void SetUp() override {
        test::BackendTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        primary_ = Databases().Connect("primary");
        secondary_ = Databases().Connect("secondary");
        test::RecreatePartFr(*primary_);
        test::RecreatePartFr(*secondary_);
    }
    void TearDown() override { framework::odbc::ClearFaults(); }

    Status Calc(ItemRecord& item, std::string& message) {
        char buffer[kMessageBufferBytes] = {};
        std::strcpy(buffer, kPreviousMessage);
        const Status status =
            CalcItem(buffer, item, primary_.get(), secondary_.get(), kModeFieldData);
        message = buffer;
        return status;
    }

    std::unique_ptr<framework::Database> primary_;
    std::unique_ptr<framework::Database> secondary_;
    std::vector<std::string> boxes_;
    framework::ScopedMessageSink sink_{[this](const std::string& text, unsigned, unsigned) {
        boxes_.push_back(text);
        return framework::kIdOk;
    }};
};

std::vector<PartFrRow> Reversed(std::vector<PartFrRow> rows) {
    std::reverse(rows.begin(), rows.end());
    return rows;
}

TEST_P(FieldDataTest, FitsTheFirstConnectionThatHasRows) {
    auto& primary = *primary_;
    auto& secondary = *secondary_;
    test::InsertPartFrRows(primary,
                           HistoryRows(WeibullDataSetNamed(kThreeFailures), "RLY-2210", 3));
    test::InsertPartFrRows(
        primary, HistoryRows(WeibullDataSetNamed(kTwoFailuresOneSuspension), "RLY-2210", 4));
    test::InsertPartFrRows(primary,
                           HistoryRows(WeibullDataSetNamed(kSuspensionsOnly), "RLY-2210", 5));
    test::InsertPartFrRows(secondary,
                           HistoryRows(WeibullDataSetNamed(kThreeFailures), "RLY-2210", 6));
    test::InsertPartFrRows(primary,
                           HistoryRows(WeibullDataSetNamed(kThreeFailures), "RLY-2210", 7));
    test::InsertPartFrRows(
        secondary, HistoryRows(WeibullDataSetNamed(kTwoFailuresOneSuspension), "RLY-2210", 7));
    test::InsertPartFrRows(primary,
                           {{"RLY-2210", 1, 9, 0, 45.5, 0}, {"RLY-2210", 2, 9, 0, 88.0, 1}});
    test::InsertPartFrRows(primary,
                           {{"RLY-2210", 1, 10, 0, 45.5, 0}, {"RLY-2210", 2, 10, 0, 88.0, 0}});
    test::InsertPartFrRows(primary, {{"RLY-2210", 1, 11, 1, 45.5, 0},
                                     {"RLY-2210", 2, 11, 1, 88.0, 0},
                                     {"RLY-2210", 3, 11, 1, 95.0, 0}});
    test::InsertPartFrRows(
        primary, HistoryRows(WeibullDataSetNamed(kTwoFailuresOneSuspension), "O'RING-3", 3));
    // Stored last to first, with no index that would hand them out in key order.
    primary.ExecuteSQL("DROP INDEX PartFR_PartKey");
    test::InsertPartFrRows(primary,
                           Reversed(HistoryRows(WeibullDataSetNamed(kTenTimes), "FAN-0412", 1)));

    const struct {
        const char* name;
        const char* partNumber;
        std::uint8_t envCode;
        Status status;
        const char* message;  // null: the buffer keeps what it held
        const char* fitOf;    // the data set whose fit is written; null: results untouched
    } rows[] = {
        {"three failures", "RLY-2210", 3, StatusCalculated, nullptr, kThreeFailures},
        {"two failures and a suspension", "RLY-2210", 4, StatusCalculated, nullptr,
         kTwoFailuresOneSuspension},
        {"five suspensions and no failure", "RLY-2210", 5, StatusFailed, kMessageInvalidFieldData,
         nullptr},
        {"rows only on the secondary connection", "RLY-2210", 6, StatusCalculated, nullptr,
         kThreeFailures},
        {"rows on both: the primary wins", "RLY-2210", 7, StatusCalculated, nullptr,
         kThreeFailures},
        {"no row anywhere", "RLY-2210", 8, StatusCalculated, nullptr, nullptr},
        {"two times in all", "RLY-2210", 9, StatusFailed, kMessageInvalidFieldData, nullptr},
        {"two failures only", "RLY-2210", 10, StatusFailed, kMessageInvalidFieldData, nullptr},
        {"rows of another process only", "RLY-2210", 11, StatusCalculated, nullptr, nullptr},
        {"part number with an apostrophe", "O'RING-3", 3, StatusCalculated, nullptr,
         kTwoFailuresOneSuspension},
        {"rows stored out of time order", "FAN-0412", 1, StatusCalculated, nullptr, kTenTimes},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ItemRecord item = test::FieldDataItem(row.partNumber, row.envCode);
        std::string message;
        EXPECT_EQ(Calc(item, message), row.status);
        EXPECT_EQ(message, row.message == nullptr ? kPreviousMessage : row.message);
        EXPECT_EQ(float{item.ResultAux1}, 1.0f);
        EXPECT_EQ(std::uint32_t{item.ResultAux2}, 0u);
        if (row.fitOf == nullptr) {
            EXPECT_EQ(float{item.ResultRate}, kUntouchedResult);
            EXPECT_EQ(float{item.ResultScale}, kUntouchedResult);
            continue;
        }
        const test::WeibullDataSet& fit = WeibullDataSetNamed(row.fitOf);
        EXPECT_TRUE(test::WithinOneUlp(item.ResultRate, fit.shapeBits));
        EXPECT_TRUE(test::WithinOneUlp(item.ResultScale, fit.scaleBits));
    }
    EXPECT_TRUE(boxes_.empty());
}

// A primary connection without PartFR: counting fails and counts as one row, so the rows are
// then opened on the same connection, which fails again; no time is read.
TEST_P(FieldDataTest, ReadErrorIsShownWhileCountingAndAgainWhileOpening) {
    primary_->ExecuteSQL("DROP TABLE PartFR");
    test::InsertPartFrRows(*secondary_,
                           HistoryRows(WeibullDataSetNamed(kThreeFailures), "RLY-2210", 3));
    ItemRecord item = test::FieldDataItem("RLY-2210", 3);
    std::string message;

    EXPECT_EQ(Calc(item, message), StatusFailed);

    EXPECT_EQ(message, kMessageInvalidFieldData);
    EXPECT_EQ(float{item.ResultRate}, kUntouchedResult);
    ASSERT_EQ(boxes_.size(), 2u);
    const std::string sql = FailureLibrary("", "").BuildPartQuery([] {
        PartFailureRecord key;
        key.PartNumber = "RLY-2210";
        key.EnvCode = 3;
        return key;
    }());
    for (const std::string& box : boxes_) {
        EXPECT_EQ(box.rfind(kMessageLibraryReadError, 0), 0u) << box;
        EXPECT_TRUE(box.ends_with("\n" + sql)) << box;
    }
}

// Rows that appear between counting and reading are not stored: here the count fails once (and
// counts as one row) while the reading then finds all three rows.
TEST_P(FieldDataTest, NoMoreRowsThanCountedAreStored) {
    test::InsertPartFrRows(*primary_,
                           HistoryRows(WeibullDataSetNamed(kThreeFailures), "RLY-2210", 3));
    framework::odbc::InjectFault(framework::odbc::Call::ExecDirect, 0);
    ItemRecord item = test::FieldDataItem("RLY-2210", 3);
    std::string message;

    EXPECT_EQ(Calc(item, message), StatusFailed);

    EXPECT_EQ(message, kMessageInvalidFieldData);  // one time stored out of three
    EXPECT_EQ(boxes_.size(), 1u);
}

TEST_P(FieldDataTest, ErrorWhileReadingARowReachesTheCaller) {
    test::InsertPartFrRows(*primary_,
                           HistoryRows(WeibullDataSetNamed(kThreeFailures), "RLY-2210", 3));
    framework::odbc::InjectFault(framework::odbc::Call::GetData, 20);  // in the second row
    ItemRecord item = test::FieldDataItem("RLY-2210", 3);
    std::string message;

    EXPECT_THROW(Calc(item, message), framework::DbException);

    EXPECT_EQ(float{item.ResultRate}, kUntouchedResult);
    EXPECT_TRUE(boxes_.empty());
}

// The shipped example histories give the fits of the data sets they were taken from.
TEST_P(FieldDataTest, ExampleHistoriesGiveTheirDataSetsFits) {
    primary_->ExecuteSQL("DROP TABLE PartFR");
    test::RunSqlScript(*primary_, test::ExampleFile("part_fr.sql"));
    test::RunSqlScript(*primary_, test::ExampleFile("field_data.sql"));
    const struct {
        const char* partNumber;
        std::uint8_t envCode;
        const char* dataSet;
    } rows[] = {
        {"RLY-2210", 3, kThreeFailures},
        {"RLY-2210", 4, kTwoFailuresOneSuspension},
        {"FAN-0412", 1, kTenTimes},
        {"O'RING-3", 7, "25 times, shape 3.5, scale 4000"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.partNumber);
        ItemRecord item = test::FieldDataItem(row.partNumber, row.envCode);
        std::string message;
        EXPECT_EQ(Calc(item, message), StatusCalculated);
        const test::WeibullDataSet& fit = WeibullDataSetNamed(row.dataSet);
        EXPECT_TRUE(test::WithinOneUlp(item.ResultRate, fit.shapeBits));
        EXPECT_TRUE(test::WithinOneUlp(item.ResultScale, fit.scaleBits));
    }
    ItemRecord pump = test::FieldDataItem("PMP-77", 1);
    std::string message;
    EXPECT_EQ(Calc(pump, message), StatusFailed);
    EXPECT_EQ(message, kMessageInvalidFieldData);
}

INSTANTIATE_TEST_SUITE_P(Backends,
                         FieldDataTest,
                         ::testing::ValuesIn(test::AllBackends()),
                         test::BackendParamName);

}  // namespace
}  // namespace tavrin21
