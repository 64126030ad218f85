// Every ODBC call of a batch fails in turn, one per run of the batch: the call numbered N, for N
// from 1 until a run passes without a fault. Whatever call fails, the item it hit is written
// failed with the driver's reason (or, where the framework retries, calculated as before), every
// other item is calculated as before, and nothing leaks (the sanitizer build runs this too).

#include "framework/odbc_api.h"
#include "host/connection.h"
#include "host/item_calculation.h"
#include "host/module_api.h"
#include "host/module_columns.h"
#include "tests/library/backend_fixture.h"
#include "tests/support/sql_script.h"

#include <chrono>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21::host {
namespace {

namespace odbc = framework::odbc;

// Both methods, both libraries, and each query twice: once prepared, once from the cache.
const ItemInput kBatch[] = {
    {"R-1", 1, 30.0f, 102, 0},  // table method, primary library
    {"F-1", 1, 25.0f, 0, 2},    // field-data method
    {"S-1", 2, 40.0f, 0, 0},    // table method, found in the secondary library only
    {"R-1", 1, 20.0f, 0, 0},   {"F-1", 1, 25.0f, 0, 2},
};

class FaultSweep : public test::BackendTest {
  protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        for (framework::Database* library : {primary_.get(), secondary_.get()}) {
            test::RunSqlScript(*library, test::ExampleFile("schema.sql"));
            test::RunSqlScript(*library, test::ExampleFile("part_fr.sql"));
        }
        test::RunSqlScript(*primary_,
                           "INSERT INTO FRTable VALUES ('R-1', 1, 0, 100);\n"
                           "INSERT INTO FRTablePoint VALUES ('R-1', 1, 0, 20, 1.0);\n"
                           "INSERT INTO FRTablePoint VALUES ('R-1', 1, 1, 40, 3.0);\n"
                           "INSERT INTO PartFR (PartNumber, TimeNumber, EnvCode, FRTime) "
                           "VALUES ('F-1', 1, 1, 40), ('F-1', 2, 1, 80), ('F-1', 3, 1, 120);");
        test::RunSqlScript(*secondary_,
                           "INSERT INTO FRTable VALUES ('S-1', 2, 0, 100);\n"
                           "INSERT INTO FRTablePoint VALUES ('S-1', 2, 0, 40, 0.5);");
    }
};

auto Outcome(const ItemResult& result) {
    return std::tuple(result.status, result.message, result.rate, result.shape, result.scale);
}

TEST_P(FaultSweep, EachFailingCallFailsOnlyItsItemWithTheDriversReason) {
    const ModuleApi module(TAVRIN21_MODULE_PATH);
    const ModuleColumns columns(module.viewFields);
    Connections connections{std::move(primary_), std::move(secondary_)};
    ItemCalculator calculator(module, columns, connections, std::chrono::milliseconds(0));
    std::vector<decltype(Outcome({}))> baseline;
    for (const ItemInput& item : kBatch) {
        baseline.push_back(Outcome(calculator.Calculate(item).result));
        EXPECT_EQ(std::get<0>(baseline.back()), StatusCalculated) << item.partNumber;
    }
    const auto injected =
        std::tuple(std::optional<std::int32_t>(StatusFailed),
                   std::string("database error: HY000 injected fault"), std::optional<float>(),
                   std::optional<float>(), std::optional<float>());

    long n = 1, absorbed = 0;
    for (; n == 1 || odbc::FaultsFired() > 0; ++n) {
        SCOPED_TRACE("failing call " + std::to_string(n));
        odbc::ClearFaults();
        odbc::FailNthCall(n);
        for (std::size_t i = 0; i < std::size(kBatch); ++i) {
            const long firedBefore = odbc::FaultsFired();
            const ItemOutcome outcome = calculator.Calculate(kBatch[i]);
            EXPECT_TRUE(outcome.beforeReconnecting.empty() && outcome.unreachableRole.empty());
            // A failed CloseCursor is absorbed: the next run of the statement ends its result
            // again.
            const bool firedHere = odbc::FaultsFired() > firedBefore;
            const bool absorbedHere =
                firedHere && odbc::LastFaultedCall() == odbc::Call::CloseCursor;
            absorbed += absorbedHere;
            EXPECT_EQ(Outcome(outcome.result), firedHere && !absorbedHere ? injected : baseline[i])
                << "item " << i;
        }
    }
    RecordProperty("calls", std::to_string(n - 2));
    RecordProperty("absorbed", std::to_string(absorbed));
    EXPECT_GT(n, 20);
}

INSTANTIATE_TEST_SUITE_P(Backends, FaultSweep, test::kAllBackends, test::BackendName);

}  // namespace
}  // namespace tavrin21::host
