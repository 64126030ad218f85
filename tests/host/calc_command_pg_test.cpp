// The host program against a PostgreSQL server: a site's settings and connections that go away in
// the middle of a batch. Each test works in a database of its own, so its settings and its
// connection limit touch no other suite.

#include "framework/connect_items.h"
#include "framework/database.h"
#include "framework/platform/host_system.h"
#include "framework/platform/process.h"
#include "framework/recordset.h"
#include "framework/text_compare.h"
#include "host/calc_command.h"
#include "tests/host/host_program.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/sql_script.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string_view>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

namespace tavrin21::host {
namespace {

// `connectString` with its Database item naming `database`.
std::string WithDatabase(const std::string& connectString, const std::string& database) {
    std::string result;
    for (const framework::ConnectItem& item : framework::ConnectItems(connectString)) {
        result += framework::EqualsIgnoringCase(item.key, "Database") ? "Database=" + database
                                                                      : item.text;
        result += ';';
    }
    return result;
}

std::string FirstValue(framework::Database& database, const std::string& sql) {
    framework::Recordset rows(&database);
    rows.Open(sql);
    std::string value;
    if (!rows.IsEOF()) {
        rows.GetFieldValue(rows.ColumnNames().front(), value);
    }
    return value;
}

// Skips the test for want of `what`, or fails it under CI=true, where every backend must run.
void SkipOrFail(const std::string& what) {
    const char* ci = std::getenv("CI");
    if (ci != nullptr && std::string_view(ci) == "true") {
        FAIL() << what << " (CI=true: every backend must run)";
    }
    GTEST_SKIP() << what;
}

// Fills the database at `connect` with the shipped schema and `statements`.
void MakeServerLibrary(const std::string& connect, const std::vector<std::string>& statements) {
    framework::Database library;
    library.Open(connect);
    test::RunSqlScript(library, test::ExampleFile("schema.sql"));
    test::RunSqlScript(library, test::ExampleFile("part_fr.sql"));
    for (const std::string& statement : statements) {
        library.ExecuteSQL(statement);
    }
}

// Parts R-1 and HOLD, where the lookup of HOLD sleeps once (until the sequence hold_once is
// reset), so a test can break the connection at a known item while its query runs.
std::vector<std::string> HoldingLibrary() {
    return {
        "INSERT INTO FRTable VALUES ('R-1', 1, 0, 100), ('HOLD', 1, 0, 100)",
        "INSERT INTO FRTablePoint VALUES ('R-1', 1, 0, 20, 1.0), ('R-1', 1, 1, 40, 3.0), "
        "('HOLD', 1, 0, 20, 2.0)",
        "CREATE SEQUENCE hold_once",
        "CREATE FUNCTION hold(part TEXT) RETURNS BOOLEAN LANGUAGE plpgsql VOLATILE COST 100000 AS "
        "'BEGIN IF part = ''HOLD'' AND nextval(''hold_once'') = 1 THEN PERFORM pg_sleep(60); "
        "END IF; RETURN true; END'",
        "ALTER TABLE FRTable RENAME TO FRTableRows",
        "CREATE VIEW FRTable AS SELECT * FROM FRTableRows WHERE hold(PartNumber)"};
}

// The items around HOLD, what the host writes of the items before it, and of HOLD and the rest
// when the library cannot be reached again.
const std::string kHoldItems =
    "PartNumber,EnvironmentCode,Temperature,MethodCode,Mode\n"
    "R-1,GB,30,0,0\nR-1,GB,20,0,0\nHOLD,GB,30,0,0\nR-1,GB,25,0,0\n";
const std::string kBeforeHold =
    "2,R-1,1,30,0,0,logarithmic,3,1.8257418,,,\n3,R-1,1,20,0,0,logarithmic,3,1,,,\n";
const std::string kUnreachableFromHold =
    "4,HOLD,1,30,0,0,logarithmic,,,,,the primary library is unreachable\n"
    "5,R-1,1,25,0,0,logarithmic,,,,,the primary library is unreachable\n";
const std::string kUnreachableError =
    "part HOLD: the primary library is unreachable; this and the remaining items are not "
    "calculated\n";

// calc on kHoldItems with CSV results against `connect` (and `more` arguments), broken by
// `breakConnection` once the lookup of HOLD sleeps in that database (within 30 s). With a
// `lookahead`, that lookup is part of reading the tables ahead, before the first item.
test::ProgramRun RunBrokenAtHold(const test::ScratchDirectory& scratch,
                                 const std::string& connect,
                                 const std::string& lookahead,
                                 const std::function<void()>& breakConnection,
                                 const std::vector<std::string>& more = {}) {
    const std::string items = (scratch / "items.csv").string();
    std::ofstream(items) << kHoldItems;
    framework::Database watch;
    watch.Open(connect);
    watch.ExecuteSQL("SELECT setval('hold_once', 1, false)");
    std::vector<std::string> calc = {"calc",      "--format", "csv",         "--items", items,
                                     "--primary", connect,    "--lookahead", lookahead};
    calc.insert(calc.end(), more.begin(), more.end());
    test::StartedHostProgram host(scratch.Path(), calc);
    int tries = 0;
    while (FirstValue(watch,
                      "SELECT COUNT(*) FROM pg_stat_activity WHERE wait_event = 'PgSleep' "
                      "AND datname = current_database()") == "0" &&
           ++tries < 600) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_LT(tries, 600) << "the host never reached part HOLD";
    watch.Close();
    breakConnection();
    return host.Finish();
}

class HostOnServer : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* connect = std::getenv("TAVRIN21_PG_CONNECT");
        if (connect == nullptr || *connect == '\0') {
            return SkipOrFail("TAVRIN21_PG_CONNECT is not set; start scripts/pg-server.sh");
        }
        admin_.Open(connect);
        name_ = "tavrin21_host_" + std::to_string(getpid());
        // From template0, which no session ever uses: copying template1 fails while another
        // test's session happens to be connected to it.
        admin_.ExecuteSQL("CREATE DATABASE " + name_ + " TEMPLATE template0");
        connect_ = WithDatabase(connect, name_);
    }

    void TearDown() override {
        if (!name_.empty()) {
            admin_.ExecuteSQL("DROP DATABASE " + name_ + " WITH (FORCE)");
        }
    }

    framework::Database admin_;
    std::string name_;
    std::string connect_;
    test::ScratchDirectory scratch_;
};

TEST_F(HostOnServer, QuotedPartNumbersStayLiteralsWhenTheServerTakesBackslashEscapes) {
    admin_.ExecuteSQL("ALTER DATABASE " + name_ + " SET standard_conforming_strings = off");
    MakeServerLibrary(
        connect_, {"CREATE TABLE victim (x INTEGER)", "INSERT INTO victim VALUES (1)",
                   "INSERT INTO PartFR (PartNumber, TimeNumber, EnvCode, ProcCode, FRTime, "
                   "IsCencored) VALUES "
                   "('F-1', 1, 1, 0, 100, 0), ('F-1', 2, 1, 0, 200, 0), ('F-1', 3, 1, 0, 300, 1)"});
    const char* hostile[] = {R"(X\'; DROP TABLE victim; --)", R"(X\' OR 1=1 --)"};
    const std::string itemsFile = (scratch_ / "items.csv").string();
    std::string items = "PartNumber,EnvironmentCode,Temperature,MethodCode,Mode\n";
    for (const char* part : hostile) {
        items += std::string(part) + ",GB,25,0,2\n" + part + ",GB,25,0,0\n";
    }
    std::ofstream(itemsFile) << items;
    const test::ProgramRun run = test::RunHostProgram(
        scratch_.Path(), {"calc", "--format", "csv", "--items", itemsFile, "--primary", connect_});
    EXPECT_EQ(run.exitCode, kExitOk) << run.out << run.err;
    for (const char* part : hostile) {
        SCOPED_TRACE(part);
        // No rows came back: the field-data item is calculated with nothing written.
        EXPECT_NE(run.out.find(part + std::string(",1,25,0,2,field data,3,,,,no field data\n")),
                  std::string::npos);
        EXPECT_NE(run.out.find(part + std::string(",1,25,0,0,logarithmic,1,,,,No data for")),
                  std::string::npos);
    }
    framework::Database library;
    library.Open(connect_);
    EXPECT_EQ(FirstValue(library, "SELECT COUNT(*) FROM victim"), "1");
}

TEST_F(HostOnServer, ConnectionLostMidBatchIsReconnectedOnceOrTheRestIsMarked) {
    MakeServerLibrary(connect_, HoldingLibrary());
    const std::string kAllCalculated =
        kBeforeHold +
        "4,HOLD,1,30,0,0,logarithmic,3,2.222222,,,\n5,R-1,1,25,0,0,logarithmic,3,1.3354863,,,\n";
    const std::string kAllUnreachable =
        "2,R-1,1,30,0,0,logarithmic,,,,,the primary library is unreachable\n"
        "3,R-1,1,20,0,0,logarithmic,,,,,the primary library is unreachable\n" +
        kUnreachableFromHold;
    // Reading ahead, the connection breaks before the first item, whose own lookup meets it.
    const std::string kUnreachableFromFirst =
        "part R-1: the primary library is unreachable; this and the remaining items are not "
        "calculated\n";
    const struct {
        const char* name;
        const char* lookahead;
        bool serverRefusesReconnect;
        int exitCode;
        std::string out;
        std::string error;
    } rows[] = {
        {"reconnected", "0", false, kExitOk, kAllCalculated,
         "part HOLD: reconnected; the item was calculated again\n"},
        {"unreachable", "0", true, kExitDatabaseErrors, kBeforeHold + kUnreachableFromHold,
         kUnreachableError},
        {"reconnected reading ahead", "256", false, kExitOk, kAllCalculated,
         ":2: part R-1: reconnected; the item was calculated again\n"},
        {"unreachable reading ahead", "256", true, kExitDatabaseErrors, kAllUnreachable,
         kUnreachableFromFirst},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        admin_.ExecuteSQL("ALTER DATABASE " + name_ + " CONNECTION LIMIT -1");
        const auto run = RunBrokenAtHold(scratch_, connect_, row.lookahead, [&] {
            if (row.serverRefusesReconnect) {
                admin_.ExecuteSQL("ALTER DATABASE " + name_ + " CONNECTION LIMIT 0");
            }
            FirstValue(admin_,
                       "SELECT COUNT(pg_terminate_backend(pid)) FROM pg_stat_activity WHERE "
                       "wait_event = 'PgSleep' AND datname = '" +
                           name_ + "'");
        });
        EXPECT_EQ(run.exitCode, row.exitCode) << run.err;
        EXPECT_NE(run.out.find(row.out), std::string::npos) << run.out;
        EXPECT_NE(run.err.find(row.error), std::string::npos) << run.err;
    }
}

// A PostgreSQL server of the test's own (scripts/pg-server.sh on a port and a folder of its own),
// so that stopping it touches no other suite. The server is stopped and its folder removed when
// the guard goes away, whatever the test did.
class OwnServer {
  public:
    OwnServer() {
        // A port picked from the process id, and the next candidates when it is taken.
        const std::string prefix = "export TAVRIN21_PG_CONNECT='";
        for (int attempt = 0; attempt < 5 && connect_.empty(); ++attempt) {
            port_ = std::to_string(20000 + (getpid() * 7 + attempt * 1009) % 20000);
            const auto run = framework::RunCommandLine(Script("start"));
            if (run && run->exitCode == 0 && run->output.rfind(prefix, 0) == 0) {
                const std::size_t end = run->output.find('\'', prefix.size());
                connect_ = run->output.substr(prefix.size(), end - prefix.size());
            }
        }
    }
    ~OwnServer() { framework::RunCommandLine(Script("stop")); }
    OwnServer(const OwnServer&) = delete;
    OwnServer& operator=(const OwnServer&) = delete;

    const std::string& Connect() const { return connect_; }  // empty when it did not start
    bool Halt(const std::string& mode) {
        const auto run = framework::RunCommandLine(Script("halt " + mode));
        return run && run->exitCode == 0;
    }

  private:
    std::string Script(const std::string& command) const {
        return "TAVRIN21_PG_PORT=" + port_ + " TAVRIN21_PG_DATA=/tmp/tavrin21-pg-stop-" + port_ +
               " bash " TAVRIN21_PG_SERVER_SCRIPT " " + command;
    }

    std::string port_;
    std::string connect_;
};

TEST(HostOnStoppingServer, ItemsFromTheOneInFlightOnAreMarkedUnreachable) {
    if (framework::HostIsWindows()) {
        GTEST_SKIP() << "stops a PostgreSQL server of its own with pg_ctl, through a POSIX shell";
    }
    const auto available =
        framework::RunCommandLine("bash " TAVRIN21_PG_SERVER_SCRIPT " available");
    if (!available || available->exitCode != 0) {
        return SkipOrFail("no PostgreSQL server binaries to start a server of the test's own");
    }
    for (const char* mode : {"fast", "immediate"}) {
        SCOPED_TRACE(mode);
        test::ScratchDirectory scratch;
        OwnServer server;
        ASSERT_FALSE(server.Connect().empty()) << "the test's own server did not start";
        MakeServerLibrary(server.Connect(), HoldingLibrary());
        const auto output = scratch / "results.csv";
        const auto run =
            RunBrokenAtHold(scratch, server.Connect(), "0", [&] { EXPECT_TRUE(server.Halt(mode)); },
                            {"--output", output.string()});
        EXPECT_EQ(run.exitCode, kExitDatabaseErrors) << run.err;
        // The items before HOLD as calculated; HOLD and every later item marked, in the output
        // file all the same.
        EXPECT_EQ(test::FileText(output),
                  "Line,PartNumber,EnvironmentCode,Temperature,MethodCode,Mode,Method,Status,Rate,"
                  "Shape,Scale,Message\n" +
                      kBeforeHold + kUnreachableFromHold);
        EXPECT_NE(run.err.find(kUnreachableError), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace tavrin21::host
