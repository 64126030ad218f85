// The host library's lookup, called as the module calls it.

#include "morvik/morvik.h"

#include "framework/database.h"
#include "framework/odbc_api.h"
#include "tests/library/backend_fixture.h"
#include "tests/support/sql_script.h"

#include <cstring>
#include <limits>

#include <gtest/gtest.h>

namespace {

using tavrin21::TabledRateRecord;

// A library made without the typed schema, as some users make theirs: any value fits anywhere.
// The key column may be given a type of its own.
std::string LooseSchema(const std::string& keyType = "VARCHAR(62)") {
    return "CREATE TABLE FRTable (PartNumber " + keyType +
           ", EnvCode INTEGER, MinTemperature DOUBLE PRECISION, MaxTemperature DOUBLE PRECISION);\n"
           "CREATE TABLE FRTablePoint (PartNumber " +
           keyType +
           ", EnvCode INTEGER, Slot TEXT, Temperature DOUBLE PRECISION, Rate DOUBLE PRECISION);\n";
}

class MorvikLibrary : public tavrin21::test::BackendTest {
  protected:
    // The prefetched tables are held by database; these databases end with the test.
    ~MorvikLibrary() override {
        AccPrefetchTable(0, nullptr, nullptr, 0, primary_.get(), secondary_.get());
    }

    // Part A in environment 3, with points in slots 2 and 15, in the shipped schema.
    static void MakeLibrary(framework::Database& database) {
        tavrin21::test::RunSqlScript(
            database, tavrin21::test::ExampleFile("schema.sql") +
                          "INSERT INTO FRTable VALUES ('A', 3, -40, 85.5);\n"
                          "INSERT INTO FRTablePoint VALUES ('A', 3, 15, 70, 0.25);\n"
                          "INSERT INTO FRTablePoint VALUES ('A', 3, 2, 20, 0.125);\n");
    }

    // A record full of another part's points, as the module's record is between calls.
    static TabledRateRecord StaleRecord(const char* part, std::uint8_t environment) {
        TabledRateRecord record;
        std::memset(&record, 0x5A, sizeof record);
        std::strcpy(record.PartNumber, part);
        record.EnvironmentCode = environment;
        return record;
    }

    std::int32_t LookUp(const std::string& part, TabledRateRecord& record) {
        std::memset(&record, 0, sizeof record);
        std::strcpy(record.PartNumber, part.c_str());
        record.EnvironmentCode = 3;
        return AccGetFromTable(0, &part, &record, primary_.get(), secondary_.get());
    }

    struct Answer {
        std::int32_t result = 0;
        TabledRateRecord record;
        std::vector<std::string> boxes;
    };

    // Looks each of `keys` up one by one, then again after one prefetch of them all: the same
    // result, record and message boxes, without a query. Returns the answers one by one.
    std::vector<Answer> LookUpAlikeOneByOneAndPrefetched(const std::vector<std::string>& keys) {
        std::vector<Answer> oneByOne(keys.size());
        for (std::size_t i = 0; i < keys.size(); ++i) {
            boxes_.clear();
            oneByOne[i].result = LookUp(keys[i], oneByOne[i].record);
            oneByOne[i].boxes = boxes_;
        }
        const std::vector<std::uint8_t> environments(keys.size(), 3);
        EXPECT_EQ(AccPrefetchTable(0, keys.data(), environments.data(),
                                   static_cast<std::int32_t>(keys.size()), primary_.get(),
                                   secondary_.get()),
                  1);
        framework::odbc::ClearFaults();
        for (std::size_t i = 0; i < keys.size(); ++i) {
            SCOPED_TRACE(keys[i]);
            boxes_.clear();
            TabledRateRecord record;
            EXPECT_EQ(LookUp(keys[i], record), oneByOne[i].result);
            EXPECT_EQ(std::memcmp(&record, &oneByOne[i].record, sizeof record), 0);
            EXPECT_EQ(boxes_, oneByOne[i].boxes);
        }
        EXPECT_EQ(framework::odbc::CallCount(framework::odbc::Call::Execute), 0);
        return oneByOne;
    }
};

// A found part fills every slot, with its point or zero, and the limits, and no other byte of the
// record; a part not found, in another environment or table, or a key that would be SQL, leaves
// the whole record as it was.
TEST_P(MorvikLibrary, FillsTheSlotsAndLimitsOfAFoundPartAndLeavesTheRestAlone) {
    MakeLibrary(*primary_);
    TabledRateRecord filled = StaleRecord("A", 3);
    std::memset(filled.Points, 0, sizeof filled.Points);
    filled.Points[2] = {20.0f, 0.125f};
    filled.Points[15] = {70.0f, 0.25f};
    filled.MinTemperature = -40.0f;
    filled.MaxTemperature = 85.5f;
    const struct {
        const char* name;
        std::int32_t selector;
        const char* part;
        std::uint8_t environment;
    } rows[] = {{"found", 0, "A", 3},
                {"unknown part", 0, "B", 3},
                {"unknown environment", 0, "A", 4},
                {"another table selected", 1, "A", 3},
                {"key with a quote", 0, "A' OR 'x'='x", 3}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const bool found = &row == &rows[0];
        TabledRateRecord record = StaleRecord(row.part, row.environment);
        const TabledRateRecord expected = found ? filled : record;
        const std::string part = row.part;
        EXPECT_EQ(AccGetFromTable(row.selector, &part, &record, primary_.get(), primary_.get()),
                  found ? 1 : 0);
        EXPECT_EQ(std::memcmp(&record, &expected, sizeof record), 0);
    }
}

// Each key is looked up one by one, then again after one prefetch of them all: the prefetched
// answers must be the same records, results and message boxes, without a query per key.
TEST_P(MorvikLibrary, AnswersEachTableAlikeOneByOneAndPrefetched) {
    const struct {
        const char* name;
        const char* rows;    // the part's points; empty: none
        const char* reason;  // empty: the table is usable
        int limitsRows = 1;  // FRTable rows of the part, as a library without a key allows
        const char* limits = "-40, 125";
        bool onSecondary = false;    // the part's rows are in the secondary library only
        const char* keySuffix = "";  // looked up as the part followed by this
    } cases[] = {
        // clang-format off
        {"slot not a number", "('P', 3, 'nan', 20, 0.1)", "slot \"nan\" is not a whole number from 0 to 15"},
        {"slot with a fraction", "('P', 3, '2.5', 20, 0.1)", "slot \"2.5\" is not a whole number from 0 to 15"},
        {"slot below 0", "('P', 3, '-1', 20, 0.1)", "slot \"-1\" is not a whole number from 0 to 15"},
        {"slot above 15", "('P', 3, '16', 20, 0.1)", "slot \"16\" is not a whole number from 0 to 15"},
        {"slot missing", "('P', 3, NULL, 20, 0.1)", "slot \"\" is not a whole number from 0 to 15"},
        {"slot twice", "('P', 3, '4', 20, 0.1), ('P', 3, '4', 30, 0.2)", "slot 4 appears twice"},
        {"temperature not a number", "('P', 3, '1', 'nan', 0.1)", "slot 1: temperature nan is not a finite number"},
        {"rate infinite", "('P', 3, '1', 20, 'inf')", "slot 1: rate inf is not a finite number"},
        {"temperature beyond a single", "('P', 3, '1', 1e300, 0.1)", "slot 1: temperature 1e+300 is beyond the range of a single-precision number"},
        {"negative rate", "('P', 3, '1', 20, -0.5)", "slot 1: rate -0.5 is negative"},
        {"rate without temperature", "('P', 3, '1', NULL, 0.5)", "slot 1: rate 0.5 has no temperature"},
        {"two rates at one temperature", "('P', 3, '2', 20, 0.1), ('P', 3, '5', 20, 0.3)", "slots 2 and 5 have rates at the same temperature 20"},
        {"empty slot at a used temperature", "('P', 3, '2', 20, 0.1), ('P', 3, '5', 20, 0)", ""},
        {"slot written as a real number", "('P', 3, '7.0', 20, 0.1)", ""},
        {"no points", "", ""},
        {"no limits", "('P', 3, '1', 20, 0.1)", "", 1, "NULL, NULL"},
        {"same slot in other environments and parts", "('P', 4, '1', 20, 0.1), ('P', 3, '1', 30, 0.2), ('P-other', 3, '1', 40, 0.3)", ""},
        {"limits twice", "('P', 3, '1', 20, 0.1), ('P', 3, '2', 30, 0.2)", "", 2},
        {"points without limits", "('P', 3, '1', 20, 0.1)", "", 0},
        {"only on the secondary", "('P', 3, '1', 20, 0.1)", "", 1, "-40, 125", true},
        {"key with a trailing space", "('P', 3, '1', 20, 0.1)", "", 1, "-40, 125", false, " "},
        // clang-format on
    };
    tavrin21::test::RunSqlScript(*primary_, LooseSchema());
    tavrin21::test::RunSqlScript(*secondary_, LooseSchema());
    // Each row is a part of its own, 'P' in its rows standing for it.
    std::vector<std::string> keys;
    for (const auto& row : cases) {
        const std::string part = "P" + std::to_string(keys.size());
        keys.push_back(part + row.keySuffix);
        std::string points = row.rows;
        for (std::size_t at; (at = points.find("'P'")) != std::string::npos;) {
            points.replace(at, 3, "'" + part + "'");
        }
        framework::Database& library = row.onSecondary ? *secondary_ : *primary_;
        for (int copy = 0; copy < row.limitsRows; ++copy) {
            library.ExecuteSQL("INSERT INTO FRTable VALUES ('" + part + "', 3, " + row.limits +
                               ")");
        }
        if (!points.empty()) {
            library.ExecuteSQL("INSERT INTO FRTablePoint VALUES " + points);
        }
    }
    const std::vector<Answer> answers = LookUpAlikeOneByOneAndPrefetched(keys);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        const bool usable = *cases[i].reason == '\0';
        const bool found = usable && cases[i].limitsRows > 0 && *cases[i].keySuffix == '\0';
        EXPECT_EQ(answers[i].result, found ? 1 : 0);
        EXPECT_EQ(answers[i].boxes, usable ? std::vector<std::string>{}
                                           : std::vector<std::string>{
                                                 "Unusable failure-rate table!\npart " + keys[i] +
                                                 ", environment 3: " + cases[i].reason});
    }
}

// A key read ahead matches as the column compares it: SQLite's NOCASE, PostgreSQL's CHAR padding.
TEST_P(MorvikLibrary, MatchesKeysReadAheadAsTheColumnComparesThem) {
    const bool sqlite = GetParam() == tavrin21::test::Backend::Sqlite;
    const std::string schema = LooseSchema(sqlite ? "VARCHAR(62) COLLATE NOCASE" : "CHAR(62)");
    tavrin21::test::RunSqlScript(*primary_, schema +
                                                "INSERT INTO FRTable VALUES ('abc', 3, -40, 125);\n"
                                                "INSERT INTO FRTablePoint VALUES "
                                                "('abc', 3, '1', 20, 0.1);\n");
    tavrin21::test::RunSqlScript(*secondary_, schema);
    const std::vector<std::string> keys = {"abc", "ABC", "abc  ", "ab"};
    const std::vector<Answer> answers = LookUpAlikeOneByOneAndPrefetched(keys);
    EXPECT_EQ(answers[sqlite ? 1 : 2].result, 1);
    for (const Answer& answer : answers) {
        EXPECT_EQ(answer.boxes, std::vector<std::string>{});
    }
}

// Whatever keeps the primary from answering, a database error (shown with its query) or an
// unusable table, is shown and the secondary still searched: one by one, and after a prefetch,
// which hides nothing when it fails. A limit beyond a single-precision number is infinite.
TEST_P(MorvikLibrary, ShowsWhyThePrimaryCannotAnswerAndStillSearchesTheSecondary) {
    tavrin21::test::RunSqlScript(*secondary_,
                                 LooseSchema() +
                                     "INSERT INTO FRTable VALUES ('P', 3, -40, 1e300);\n"
                                     "INSERT INTO FRTablePoint VALUES ('P', 3, '0', 25, 0.5);\n");
    const std::string keys[] = {"P", "Q"};
    const std::uint8_t environments[] = {3, 3};
    for (const bool primaryHasTables : {false, true}) {
        if (primaryHasTables) {
            tavrin21::test::RunSqlScript(*primary_,
                                         LooseSchema() +
                                             "INSERT INTO FRTable VALUES ('P', 3, 85, 40);\n"
                                             "INSERT INTO FRTable VALUES ('Q', 3, 'nan', 40);\n");
        }
        for (const bool prefetched : {false, true}) {
            SCOPED_TRACE(testing::Message() << (primaryHasTables ? "unusable tables" : "no tables")
                                            << (prefetched ? ", prefetched" : ", one by one"));
            if (prefetched) {
                EXPECT_EQ(
                    AccPrefetchTable(0, keys, environments, 2, primary_.get(), secondary_.get()),
                    primaryHasTables ? 1 : 0);
            }
            boxes_.clear();
            TabledRateRecord record;
            EXPECT_EQ(LookUp("P", record), 1);
            EXPECT_EQ(float{record.Points[0].Rate}, 0.5f);
            EXPECT_EQ(float{record.MaxTemperature}, std::numeric_limits<float>::infinity());
            EXPECT_EQ(LookUp("Q", record), 0);
            if (primaryHasTables) {
                EXPECT_EQ(boxes_, (std::vector<std::string>{
                                      "Unusable failure-rate table!\npart P, environment 3: "
                                      "minimum temperature 85 is above the maximum 40",
                                      "Unusable failure-rate table!\npart Q, environment 3: "
                                      "minimum temperature is not a number"}));
                continue;
            }
            ASSERT_EQ(boxes_.size(), 2u);
            for (const std::string& box : boxes_) {
                EXPECT_NE(box.find("FRTable"), std::string::npos) << box;
            }
        }
    }
}

// Items looked up on one connection share one prepared query. What was read ahead holds for its
// connection only: once the host has opened it again, the table's change since is read.
TEST_P(MorvikLibrary, PreparesItsQueryOncePerConnection) {
    using framework::odbc::Call;
    using framework::odbc::CallCount;
    MakeLibrary(*primary_);
    const auto expectCounts = [](long allocations, long executions) {
        EXPECT_EQ(CallCount(Call::AllocStatement), allocations);
        EXPECT_EQ(CallCount(Call::Prepare), allocations);
        EXPECT_EQ(CallCount(Call::Execute), executions);
    };
    framework::odbc::ClearFaults();
    TabledRateRecord record;
    for (int item = 0; item < 3; ++item) {
        ASSERT_EQ(LookUp("A", record), 1);
    }
    expectCounts(1, 3);
    const std::string part = "A";
    const std::uint8_t environment = 3;
    ASSERT_EQ(AccPrefetchTable(0, &part, &environment, 1, primary_.get(), secondary_.get()), 1);
    primary_->Close();
    const std::string source = SourceForProgram("primary");
    const bool sqlite = GetParam() == tavrin21::test::Backend::Sqlite;
    primary_->Open(sqlite ? tavrin21::test::SqliteConnectString(source) : source);
    primary_->ExecuteSQL("UPDATE FRTablePoint SET Rate = 0.75");
    framework::odbc::ClearFaults();
    for (int item = 0; item < 2; ++item) {
        ASSERT_EQ(LookUp("A", record), 1);
        EXPECT_EQ(float{record.Points[2].Rate}, 0.75f);
    }
    expectCounts(1, 2);
}

INSTANTIATE_TEST_SUITE_P(Backends,
                         MorvikLibrary,
                         tavrin21::test::kAllBackends,
                         tavrin21::test::BackendName);

}  // namespace
