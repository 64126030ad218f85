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
#include <string>
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

struct Expected {
    int status;
    std::string message;
    float rate, scale;
};

Expected Of(const ItemResult& result) {
    return {result.status, result.message, result.resultRate, result.resultScale};
}

bool operator==(const Expected& a, const Expected& b) {
    return a.status == b.status && a.message == b.message && a.rate == b.rate && a.scale == b.scale;
}

void PrintTo(const Expected& e, std::ostream* os) {
    *os << "{" << e.status << ", \"" << e.message << "\", " << e.rate << ", " << e.scale << "}";
}

TEST_P(FaultSweep, EachFailingCallFailsOnlyItsItemWithTheDriversReason) {
    const ModuleApi module(TAVRIN21_MODULE_PATH);
    const ModuleColumns columns(module.viewFields);
    Connections connections{std::move(primary_), std::move(secondary_)};
    ItemCalculator calculator(module, columns, connections, std::chrono::milliseconds(0));

    std::vector<Expected> baseline;
    for (const ItemInput& item : kBatch) {
        baseline.push_back(Of(calculator.Calculate(item).result));
        EXPECT_EQ(baseline.back().status, StatusCalculated) << item.partNumber;
    }
    const Expected kInjected{StatusFailed, "database error: HY000 injected fault", 0.0f, 0.0f};

    long failedSteps = 0, absorbedSteps = 0, n = 1;
    for (;; ++n) {
        SCOPED_TRACE("failing call " + std::to_string(n));
        odbc::ClearFaults();
        odbc::FailNthCall(n);
        for (std::size_t i = 0; i < std::size(kBatch); ++i) {
            const long firedBefore = odbc::FaultsFired();
            const ItemOutcome outcome = calculator.Calculate(kBatch[i]);
            const Expected got = Of(outcome.result);
            EXPECT_TRUE(outcome.beforeReconnecting.empty() && outcome.unreachableRole.empty());
            if (odbc::FaultsFired() == firedBefore) {
                EXPECT_EQ(got, baseline[i]) << "item " << i;
                continue;
            }
            if (got == baseline[i]) {
                ++absorbedSteps;
                continue;
            }
            ++failedSteps;
            EXPECT_EQ(got, kInjected) << "item " << i;
            ASSERT_EQ(outcome.errors.size(), 1u);
            EXPECT_EQ(outcome.errors.front().sqlState, "HY000");
        }
        if (odbc::FaultsFired() == 0) {
            break;
        }
        EXPECT_EQ(odbc::FaultsFired(), 1);
    }
    RecordProperty("calls", std::to_string(n - 1));
    RecordProperty("absorbed", std::to_string(absorbedSteps));
    // Most calls cannot be retried; a failed end of a result is, by the next run of its statement.
    EXPECT_GT(failedSteps, 3 * absorbedSteps);
    EXPECT_GT(n, 20);
}

INSTANTIATE_TEST_SUITE_P(Backends, FaultSweep, test::kAllBackends, test::BackendName);

}  // namespace
}  // namespace tavrin21::host
