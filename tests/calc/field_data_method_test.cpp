// The field-data method on every backend: called directly, and through the module loaded by path
// as the host calls it.

#include "calc/field_data_method.h"

#include "calc/calc_item.h"
#include "framework/db_exception.h"
#include "framework/odbc_api.h"
#include "framework/platform/dynamic_library.h"
#include "tavrin21/exports.h"
#include "tests/library/backend_fixture.h"
#include "tests/support/sql_script.h"
#include "tests/support/vectors.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstring>
#include <ranges>
#include <tuple>

namespace tavrin21 {
namespace {

constexpr const char* kPreviousMessage = "previous message";
constexpr unsigned char kHostByte = 0x5A;
constexpr float kUntouched = std::bit_cast<float>(0x5A5A5A5Au);  // a result left as the host set it
constexpr const char* kReadErrorHeading = "Error reading item from ZOVA library!\n";
constexpr const char* kThree = "three failures";
constexpr const char* kTwoAndOne = "two failures and one suspension";

const nlohmann::json& DataSet(const std::string& name) {
    static const nlohmann::json sets = test::LoadVectors("weibull.json").at("data_sets");
    return *std::ranges::find_if(sets, [&name](const auto& set) { return set.at("name") == name; });
}

// Makes PartFR on `database` holding, for environment i + 1, the times of the i-th named set
// (none when null) as rows of O'RING-3: failures, then suspensions, each kind in the set's
// order, which is the order the fit takes them in.
template <typename Names = std::initializer_list<const char*>>
void MakePartFr(framework::Database& database, const Names& setsByEnv) {
    test::RunSqlScript(database, test::ExampleFile("part_fr.sql"));
    std::string values;
    for (int env = 1, timeNumber = 0; const char* name : setsByEnv) {
        for (int suspended = 0; name != nullptr && suspended < 2; ++suspended) {
            for (const auto& time : DataSet(name).at(suspended ? "suspensions" : "failures")) {
                values += (values.empty() ? "('O''RING-3', " : ", ('O''RING-3', ") +
                          std::to_string(++timeNumber) + ", " + std::to_string(env) + ", " +
                          time.dump() + ", " + std::to_string(suspended) + ")";
            }
        }
        ++env;
    }
    database.ExecuteSQL(
        "INSERT INTO PartFR (PartNumber, TimeNumber, EnvCode, FRTime, IsCencored) VALUES " +
        values);
}

// What an item comes back with: status, message, ResultRate, ResultScale, ResultAux1, ResultAux2.
using Outcome = std::tuple<Status, std::string, float, float, float, std::uint32_t>;

// The named set's fit, or untouched results when `fit` is null; failing is for invalid data.
Outcome Expected(Status status, const char* fit) {
    const auto single = [fit](const char* result) {
        return fit ? test::SingleFromBits(DataSet(fit).at("expected").at(result).at("bits"))
                   : kUntouched;
    };
    return Outcome(status, status == StatusFailed ? kMessageInvalidFieldData : kPreviousMessage,
                   single("result_rate"), single("result_scale"), 1.0f, 0u);
}

class FieldData : public test::BackendTest {
  protected:
    // Calculates the part O'RING-3 in environment `envCode`, in a record full of the host's bytes
    // and with the message buffer holding what an earlier item left there.
    Outcome Calc(int envCode, bool throughModule = false) {
        static const auto module = framework::DynamicLibrary::Load(TAVRIN21_MODULE_PATH);
        ItemRecord item;
        std::memset(&item, kHostByte, sizeof item);
        std::strcpy(item.PartNumber, "O'RING-3");
        item.EnvironmentCode = static_cast<std::uint8_t>(envCode);
        char message[kMessageBufferBytes] = {};
        std::strcpy(message, kPreviousMessage);
        const std::int32_t status =
            throughModule
                ? module.Require<CalcItemFn>("calc_item")(message, &item, primary_.get(),
                                                          secondary_.get(), kModeFieldData)
                : CalcItem(message, item, primary_.get(), secondary_.get(), kModeFieldData);
        return Outcome(static_cast<Status>(status), message, float{item.ResultRate},
                       float{item.ResultScale}, float{item.ResultAux1},
                       std::uint32_t{item.ResultAux2});
    }
};

// Each case's environment holds its own rows: the cases written here, then every vector set with
// failures at the method's time origin on the primary. Every other case goes through the module.
TEST_P(FieldData, FitsThePrimarysHistoryElseTheSecondarys) {
    struct Case {
        const char *name, *onPrimary, *onSecondary;  // the data sets stored for its environment
        Status status;
        const char* fit;
    };
    std::vector<Case> cases = {
        {"five suspensions only", "suspensions only", nullptr, StatusFailed, nullptr},
        {"rows only on the secondary", nullptr, kThree, StatusCalculated, kThree},
        {"rows on both: the primary's", kThree, kTwoAndOne, StatusCalculated, kThree},
        {"no rows anywhere", nullptr, nullptr, StatusCalculated, nullptr},
    };
    const nlohmann::json sets = test::LoadVectors("weibull.json").at("data_sets");
    for (const nlohmann::json& set : sets) {
        if (set.at("location") == kFieldDataTimeOrigin && !set.at("failures").empty()) {
            const char* name = set.at("name").get_ref<const std::string&>().c_str();
            cases.push_back({name, name, nullptr, StatusCalculated, name});
        }
    }
    // The eight sets include three failures, and two failures and a suspension.
    ASSERT_EQ(cases.size(), 4u + 8u);
    MakePartFr(*primary_, cases | std::views::transform(&Case::onPrimary));
    MakePartFr(*secondary_, cases | std::views::transform(&Case::onSecondary));
    for (int env = 1; const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Calc(env, env % 2 == 0), Expected(c.status, c.fit));
        ++env;
    }
    EXPECT_TRUE(boxes_.empty());

    // A row that cannot be read fails the item; the exception stops at the module's edge.
    framework::odbc::InjectFault(framework::odbc::Call::GetData, 20);  // in the second row
    EXPECT_EQ(Calc(3, true),  // rows on both: the primary's three failures
              Outcome(StatusFailed, " Database error while reading the part's data\n", kUntouched,
                      kUntouched, 1.0f, 0u));
}

// An error while opening the rows is shown and counts as one row, which is then read from the
// same connection: none when PartFR is missing there, else no more than the one counted.
TEST_P(FieldData, OpeningErrorsAreShownAndNoMoreRowsThanCountedAreStored) {
    MakePartFr(*primary_, {kThree});
    MakePartFr(*secondary_, {kThree});
    const std::string tail =
        "\nSELECT * FROM PartFR WHERE PartNumber='O''RING-3' AND EnvCode = 1 AND ProcCode = 0 "
        "ORDER BY TimeNumber";
    for (const bool dropPartFr : {false, true}) {
        SCOPED_TRACE(dropPartFr ? "no PartFR while counting and opening" : "fault while counting");
        if (dropPartFr) {
            primary_->ExecuteSQL("DROP TABLE PartFR");
        } else {
            framework::odbc::InjectFault(framework::odbc::Call::ExecDirect, 0);
        }
        boxes_.clear();
        EXPECT_EQ(Calc(1), Expected(StatusFailed, nullptr));
        ASSERT_EQ(boxes_.size(), dropPartFr ? 2u : 1u);
        for (const std::string& box : boxes_) {
            ASSERT_TRUE(box.starts_with(kReadErrorHeading) && box.ends_with(tail)) << box;
            const std::string error = box.substr(0, box.size() - tail.size());
            std::string lowerCase = error;
            std::ranges::transform(lowerCase, lowerCase.begin(), [](unsigned char c) {
                return static_cast<char>(std::tolower(c));
            });
            EXPECT_NE(lowerCase.find(dropPartFr ? "partfr" : "injected fault"), std::string::npos)
                << box;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, FieldData, test::kAllBackends, test::BackendName);

// The server ends the host's primary connection between two items of a batch: each later item
// fails cleanly, showing the lost connection while counting and again while opening.
class LostConnection : public FieldData {};

TEST_P(LostConnection, LaterItemsFailCleanly) {
    MakePartFr(*primary_, {kThree, kTwoAndOne});
    ASSERT_EQ(Calc(1, true), Expected(StatusCalculated, kThree));
    // An advisory lock marks the primary's server process, which the secondary then ends.
    primary_->ExecuteSQL("SELECT pg_advisory_lock(2121)");
    secondary_->ExecuteSQL(
        "SELECT pg_terminate_backend(pid, 5000) FROM pg_locks WHERE locktype = 'advisory' AND "
        "objid = 2121");

    for (const int env : {2, 1}) {
        SCOPED_TRACE(env);
        boxes_.clear();
        EXPECT_EQ(Calc(env, true), Expected(StatusFailed, nullptr));
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
