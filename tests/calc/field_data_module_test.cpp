// The field-data method as the host reaches it: calc_item of the module loaded by path, with
// mode 2, on real databases.

#include "calc/field_data_method.h"
#include "framework/database.h"
#include "framework/db_exception.h"
#include "framework/message_box.h"
#include "framework/odbc_api.h"
#include "framework/platform/dynamic_library.h"
#include "framework/recordset.h"
#include "tavrin21/exports.h"
#include "tests/calc/field_histories.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

using test::HistoryRows;
using test::WeibullDataSetNamed;

constexpr std::uint32_t kFieldDataMode = 2;

// The module, loaded once for the whole program, as a host loads it.
CalcItemFn ModuleCalcItem() {
    static const framework::DynamicLibrary module =
        framework::DynamicLibrary::Load(TAVRIN21_MODULE_PATH);
    static const CalcItemFn calcItem = module.Require<CalcItemFn>("calc_item");
    return calcItem;
}

// What the host sees of one call: the status, its message buffer and the boxes shown.
struct HostCall {
    std::int32_t status;
    std::string message;
    std::vector<std::string> boxes;
};

HostCall CalcThroughModule(ItemRecord& item,
                           framework::Database* primaryDb,
                           framework::Database* secondaryDb) {
    HostCall call{};
    framework::ScopedMessageSink sink([&call](const std::string& text, unsigned, unsigned) {
        call.boxes.push_back(text);
        return framework::kIdOk;
    });
    char buffer[kMessageBufferBytes] = {};
    call.status = ModuleCalcItem()(buffer, &item, primaryDb, secondaryDb, kFieldDataMode);
    call.message = buffer;
    return call;
}

class FieldDataThroughModule : public test::BackendTest {
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

    std::unique_ptr<framework::Database> primary_;
    std::unique_ptr<framework::Database> secondary_;
};

// Every data set of the vectors that counts its times from 20 is fitted to the singles the
// vectors give; a set without failures is refused.
TEST_P(FieldDataThroughModule, FitsEveryVectorDataSetWithTimeOrigin20) {
    std::vector<const test::WeibullDataSet*> sets;
    for (const test::WeibullDataSet& set : test::WeibullDataSets()) {
        if (set.location == kFieldDataTimeOrigin) {
            sets.push_back(&set);
        }
    }
    ASSERT_GE(sets.size(), 8u);
    for (std::size_t i = 0; i < sets.size(); ++i) {
        test::InsertPartFrRows(*primary_, HistoryRows(*sets[i], "VEC-" + std::to_string(i), 1));
    }

    for (std::size_t i = 0; i < sets.size(); ++i) {
        const test::WeibullDataSet& set = *sets[i];
        SCOPED_TRACE(set.name);
        ItemRecord item = test::FieldDataItem("VEC-" + std::to_string(i), 1);
        const HostCall call = CalcThroughModule(item, primary_.get(), secondary_.get());
        EXPECT_TRUE(call.boxes.empty());
        if (set.failures.empty()) {
            EXPECT_EQ(call.status, StatusFailed);
            EXPECT_EQ(call.message, kMessageInvalidFieldData);
            continue;
        }
        EXPECT_EQ(call.status, StatusCalculated);
        EXPECT_EQ(call.message, "");
        EXPECT_TRUE(test::WithinOneUlp(item.ResultRate, set.shapeBits));
        EXPECT_TRUE(test::WithinOneUlp(item.ResultScale, set.scaleBits));
    }
}

// A row that cannot be read does not escape the module as an exception: the host gets a failed
// item with a message and sees the database's own words.
TEST_P(FieldDataThroughModule, ReadErrorBecomesAFailedItem) {
    test::InsertPartFrRows(*primary_,
                           HistoryRows(WeibullDataSetNamed("three failures"), "RLY-2210", 3));
    framework::odbc::InjectFault(framework::odbc::Call::GetData, 20);
    ItemRecord item = test::FieldDataItem("RLY-2210", 3);

    const HostCall call = CalcThroughModule(item, primary_.get(), secondary_.get());

    EXPECT_EQ(call.status, StatusFailed);
    ASSERT_FALSE(call.message.empty());
    EXPECT_EQ(call.message.front(), ' ');
    EXPECT_EQ(call.message.back(), '\n');
    EXPECT_LT(call.message.size(), kMessageBufferBytes);
    EXPECT_EQ(float{item.ResultRate}, test::kUntouchedResult);
}

INSTANTIATE_TEST_SUITE_P(Backends,
                         FieldDataThroughModule,
                         ::testing::ValuesIn(test::AllBackends()),
                         test::BackendParamName);

// The server ends the host's primary connection between two items of a batch.
class LostConnectionTest : public test::PostgresTest {};

TEST_F(LostConnectionTest, ItemsAfterTheLossFailWithTheConnectionErrorShown) {
    auto primary = Databases().Connect("primary");
    auto secondary = Databases().Connect("secondary");
    auto server = Databases().Connect("admin");
    test::RecreatePartFr(*primary);
    test::RecreatePartFr(*secondary);
    test::InsertPartFrRows(*primary, HistoryRows(WeibullDataSetNamed("three failures"), "P-1", 3));
    test::InsertPartFrRows(
        *primary, HistoryRows(WeibullDataSetNamed("two failures and one suspension"), "P-2", 3));

    ItemRecord first = test::FieldDataItem("P-1", 3);
    ASSERT_EQ(CalcThroughModule(first, primary.get(), secondary.get()).status, StatusCalculated);

    std::string backendPid;
    {
        framework::Recordset pid(primary.get());
        pid.Open("SELECT pg_backend_pid() AS pid");
        pid.GetFieldValue("pid", backendPid);
    }
    server->ExecuteSQL("SELECT pg_terminate_backend(" + backendPid + ", 5000)");

    for (const char* partNumber : {"P-2", "P-1"}) {
        SCOPED_TRACE(partNumber);
        ItemRecord item = test::FieldDataItem(partNumber, 3);
        const HostCall call = CalcThroughModule(item, primary.get(), secondary.get());
        EXPECT_EQ(call.status, StatusFailed);
        EXPECT_EQ(call.message, kMessageInvalidFieldData);
        EXPECT_EQ(float{item.ResultRate}, test::kUntouchedResult);
        // Counting and opening each show what the driver said about the lost connection.
        ASSERT_EQ(call.boxes.size(), 2u);
        for (const std::string& box : call.boxes) {
            const std::string errorText =
                box.substr(std::strlen("Error reading item from ZOVA library!\n"));
            EXPECT_TRUE(framework::IsConnectionLostState(errorText.substr(0, 5))) << box;
        }
    }
}

}  // namespace
}  // namespace tavrin21
