// The field-data method on every backend: called directly, and through the module loaded by path
// as the host calls it.

#include "calc/field_data_method.h"

#include "calc/calc_item.h"
#include "framework/db_exception.h"
#include "framework/odbc_api.h"
#include "framework/platform/dynamic_library.h"
#include "framework/recordset.h"
#include "tavrin21/exports.h"
#include "tests/library/backend_fixture.h"
#include "tests/support/sql_script.h"
#include "tests/support/vectors.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tavrin21 {
namespace {

constexpr const char* kPart = "O'RING-3";
constexpr const char* kPreviousMessage = "previous message";
constexpr float kUntouched = -7.0f;
constexpr const char* kReadErrorHeading = "Error reading item from ZOVA library!\n";
constexpr const char* kThree = "three failures";
constexpr const char* kTwoAndOne = "two failures and one suspension";

const nlohmann::json& DataSets() {
    static const nlohmann::json sets = test::LoadVectors("weibull.json").at("data_sets");
    return sets;
}

const nlohmann::json& DataSet(const std::string& name) {
    return *std::find_if(DataSets().begin(), DataSets().end(),
                         [&name](const nlohmann::json& set) { return set.at("name") == name; });
}

// Data sets by name (none when null), each stored for the environment paired with it.
using Stored = std::vector<std::pair<const char*, int>>;

// Makes PartFR on `database` holding each set's times as rows of kPart: failures, then
// suspensions, each kind in the set's order, which is the order the fit takes them in.
void MakePartFr(framework::Database& database, const Stored& sets) {
    test::RunSqlScript(database, test::ExampleFile("part_fr.sql"));
    std::string values;
    int timeNumber = 0;
    for (const auto& [name, envCode] : sets) {
        for (int suspended = 0; name != nullptr && suspended < 2; ++suspended) {
            for (const auto& time : DataSet(name).at(suspended ? "suspensions" : "failures")) {
                values += (values.empty() ? "('O''RING-3', " : ", ('O''RING-3', ") +
                          std::to_string(++timeNumber) + ", " + std::to_string(envCode) + ", " +
                          time.dump() + ", " + std::to_string(suspended) + ")";
            }
        }
    }
    database.ExecuteSQL(
        "INSERT INTO PartFR (PartNumber, TimeNumber, EnvCode, FRTime, IsCencored) VALUES " +
        values);
}

ItemRecord Item(int envCode) {
    ItemRecord item{};
    std::strcpy(item.PartNumber, kPart);
    item.EnvironmentCode = static_cast<std::uint8_t>(envCode);
    item.ResultRate = item.ResultScale = kUntouched;
    item.ResultAux1 = 5.0f;
    item.ResultAux2 = 0xFFFFFFFFu;
    return item;
}

// The results of the named set's fit, or untouched results when `fit` is null.
void ExpectResults(const ItemRecord& item, const char* fit) {
    const auto single = [fit](const char* result) {
        return test::SingleFromBits(DataSet(fit).at("expected").at(result).at("bits"));
    };
    EXPECT_EQ(float{item.ResultRate}, fit ? single("result_rate") : kUntouched);
    EXPECT_EQ(float{item.ResultScale}, fit ? single("result_scale") : kUntouched);
    EXPECT_EQ(float{item.ResultAux1}, 1.0f);
    EXPECT_EQ(std::uint32_t{item.ResultAux2}, 0u);
}

CalcItemFn ModuleCalcItem() {
    static const framework::DynamicLibrary module =
        framework::DynamicLibrary::Load(TAVRIN21_MODULE_PATH);
    return module.Require<CalcItemFn>("calc_item");
}

class FieldData : public test::BackendTest {
  protected:
    Status Calc(ItemRecord& item, bool throughModule = false) {
        char buffer[kMessageBufferBytes] = {};
        std::strcpy(buffer, kPreviousMessage);
        const std::int32_t status =
            throughModule
                ? ModuleCalcItem()(buffer, &item, primary_.get(), secondary_.get(), kModeFieldData)
                : CalcItem(buffer, item, primary_.get(), secondary_.get(), kModeFieldData);
        message_ = buffer;
        return static_cast<Status>(status);
    }

    std::string message_;
};

TEST_P(FieldData, FitsThePrimarysHistoryElseTheSecondarys) {
    const struct {
        const char* name;
        const char* onPrimary;  // the data sets stored for the case's environment
        const char* onSecondary;
        Status status;  // StatusFailed with the message about invalid data
        const char* fit;
    } cases[] = {
        {"three failures", kThree, nullptr, StatusCalculated, kThree},
        {"two failures and a suspension", kTwoAndOne, nullptr, StatusCalculated, kTwoAndOne},
        {"five suspensions only", "suspensions only", nullptr, StatusFailed, nullptr},
        {"rows only on the secondary", nullptr, kThree, StatusCalculated, kThree},
        {"rows on both: the primary's", kThree, kTwoAndOne, StatusCalculated, kThree},
        {"no rows anywhere", nullptr, nullptr, StatusCalculated, nullptr},
    };
    Stored onPrimary, onSecondary;
    for (int env = 1; const auto& c : cases) {
        onPrimary.push_back({c.onPrimary, env});
        onSecondary.push_back({c.onSecondary, env++});
    }
    MakePartFr(*primary_, onPrimary);
    MakePartFr(*secondary_, onSecondary);
    for (int env = 1; const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ItemRecord item = Item(env++);
        EXPECT_EQ(Calc(item), c.status);
        EXPECT_EQ(message_, c.status == StatusFailed ? kMessageInvalidFieldData : kPreviousMessage);
        ExpectResults(item, c.fit);
    }
    EXPECT_TRUE(boxes_.empty());
}

// An error while opening the rows is shown and counts as one row, which is then read from the
// same connection: none when PartFR is missing there, else no more than the one counted.
TEST_P(FieldData, OpeningErrorsAreShownAndNoMoreRowsThanCountedAreStored) {
    MakePartFr(*primary_, {{kThree, 1}});
    MakePartFr(*secondary_, {{kThree, 1}});
    const struct {
        const char* name;
        bool dropPartFr;
        std::size_t boxes;
        const char* errorText;
    } cases[] = {
        {"fault while counting", false, 1, "injected fault"},
        {"no PartFR while counting and opening", true, 2, "partfr"},
    };
    const std::string tail =
        "\nSELECT * FROM PartFR WHERE PartNumber='O''RING-3' AND EnvCode = 1 AND ProcCode = 0 "
        "ORDER BY TimeNumber";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.dropPartFr) {
            primary_->ExecuteSQL("DROP TABLE PartFR");
        } else {
            framework::odbc::InjectFault(framework::odbc::Call::ExecDirect, 0);
        }
        boxes_.clear();
        ItemRecord item = Item(1);
        EXPECT_EQ(Calc(item), StatusFailed);
        EXPECT_EQ(message_, kMessageInvalidFieldData);
        ExpectResults(item, nullptr);
        ASSERT_EQ(boxes_.size(), c.boxes);
        for (const std::string& box : boxes_) {
            ASSERT_TRUE(box.starts_with(kReadErrorHeading) && box.ends_with(tail)) << box;
            const std::string beforeSql = box.substr(0, box.size() - tail.size());
            EXPECT_NE(strcasestr(beforeSql.c_str(), c.errorText), nullptr) << box;
        }
    }
}

TEST_P(FieldData, ModuleFitsEveryVectorDataSetWithTimeOrigin20) {
    Stored stored;
    for (const nlohmann::json& set : DataSets()) {
        if (set.at("location") == kFieldDataTimeOrigin && !set.at("failures").empty()) {
            const char* name = set.at("name").get_ref<const std::string&>().c_str();
            stored.push_back({name, static_cast<int>(stored.size()) + 1});
        }
    }
    ASSERT_EQ(stored.size(), 8u);
    MakePartFr(*primary_, stored);
    for (const auto& [name, envCode] : stored) {
        SCOPED_TRACE(name);
        ItemRecord item = Item(envCode);
        EXPECT_EQ(Calc(item, true), StatusCalculated);
        ExpectResults(item, name);
    }
    EXPECT_TRUE(boxes_.empty());

    // A row that cannot be read fails the item; the exception stops at the module's edge.
    framework::odbc::InjectFault(framework::odbc::Call::GetData, 20);  // in the second row
    ItemRecord item = Item(1);
    EXPECT_EQ(Calc(item, true), StatusFailed);
    EXPECT_EQ(message_, " Database error while reading the part's data\n");
}

INSTANTIATE_TEST_SUITE_P(Backends, FieldData, test::kAllBackends, test::BackendName);

// The server ends the host's primary connection between two items of a batch: each later item
// fails cleanly, showing the lost connection while counting and again while opening.
class LostConnection : public FieldData {};

TEST_P(LostConnection, LaterItemsFailCleanly) {
    MakePartFr(*primary_, {{kThree, 1}, {kTwoAndOne, 2}});
    ItemRecord first = Item(1);
    ASSERT_EQ(Calc(first, true), StatusCalculated);
    std::string pid;
    framework::Recordset backend(primary_.get());
    backend.Open("SELECT pg_backend_pid() AS pid");
    backend.GetFieldValue("pid", pid);
    backend.Close();
    secondary_->ExecuteSQL("SELECT pg_terminate_backend(" + pid + ", 5000)");

    for (const int env : {2, 1}) {
        SCOPED_TRACE(env);
        boxes_.clear();
        ItemRecord item = Item(env);
        EXPECT_EQ(Calc(item, true), StatusFailed);
        EXPECT_EQ(message_, kMessageInvalidFieldData);
        ExpectResults(item, nullptr);
        ASSERT_EQ(boxes_.size(), 2u);
        for (const std::string& box : boxes_) {
            const std::string state = box.substr(std::strlen(kReadErrorHeading), 5);
            EXPECT_TRUE(framework::IsConnectionLostState(state)) << box;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Postgres, LostConnection, test::kPostgresOnly, test::BackendName);

}  // namespace
}  // namespace tavrin21
