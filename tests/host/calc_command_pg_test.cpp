// The host program against a PostgreSQL server: a site's settings and connections that go away in
// the middle of a batch. Each test works in a database of its own, so its settings and its
// connection limit touch no other suite.

#include "framework/connect_items.h"
#include "framework/database.h"
#include "framework/platform/process.h"
#include "framework/recordset.h"
#include "framework/text_compare.h"
#include "host/calc_command.h"
#include "tests/host/run_program.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/sql_script.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <string_view>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

namespace tavrin21::host {
namespace {

// Reads what a command started with popen writes, and waits for it to end.
test::ProgramRun FinishProgram(FILE* pipe) {
    test::ProgramRun run;
    char chunk[4096];
    for (std::size_t read; (read = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
        run.output.append(chunk, read);
    }
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

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

class HostOnServer : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* connect = std::getenv("TAVRIN21_PG_CONNECT");
        if (connect == nullptr || *connect == '\0') {
            const char* ci = std::getenv("CI");
            if (ci != nullptr && std::string_view(ci) == "true") {
                FAIL() << "TAVRIN21_PG_CONNECT is not set (CI=true: every backend must run)";
            }
            GTEST_SKIP() << "TAVRIN21_PG_CONNECT is not set; start scripts/pg-server.sh";
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

    void MakeLibrary(const std::vector<std::string>& statements) {
        MakeServerLibrary(connect_, statements);
    }

    std::string WriteItems(const std::string& rows) {
        const std::string path = (scratch_ / "items.csv").string();
        std::ofstream(path) << "PartNumber,EnvironmentCode,Temperature,MethodCode,Mode\n" << rows;
        return path;
    }

    std::string CalcCommand(const std::string& items) {
        return test::HostProgram() + " calc --format csv --items " + items + " --primary '" +
               connect_ + "' 2>" + (scratch_ / "err.txt").string();
    }

    std::string Errors() {
        std::ifstream err(scratch_ / "err.txt");
        return std::string(std::istreambuf_iterator<char>(err), {});
    }

    framework::Database admin_;
    std::string name_;
    std::string connect_;
    test::ScratchDirectory scratch_;
};

TEST_F(HostOnServer, QuotedPartNumbersStayLiteralsWhenTheServerTakesBackslashEscapes) {
    admin_.ExecuteSQL("ALTER DATABASE " + name_ + " SET standard_conforming_strings = off");
    MakeLibrary({"CREATE TABLE victim (x INTEGER)", "INSERT INTO victim VALUES (1)",
                 "INSERT INTO PartFR (PartNumber, TimeNumber, EnvCode, ProcCode, FRTime, "
                 "IsCencored) VALUES "
                 "('F-1', 1, 1, 0, 100, 0), ('F-1', 2, 1, 0, 200, 0), ('F-1', 3, 1, 0, 300, 1)"});
    const char* hostile[] = {R"(X\'; DROP TABLE victim; --)", R"(X\' OR 1=1 --)"};
    std::string items;
    for (const char* part : hostile) {
        items += std::string(part) + ",GB,25,0,2\n" + part + ",GB,25,0,0\n";
    }
    const test::ProgramRun run = test::RunShell(CalcCommand(WriteItems(items)));
    EXPECT_EQ(run.exitCode, kExitOk) << run.output << Errors();
    for (const char* part : hostile) {
        SCOPED_TRACE(part);
        // No rows came back: the field-data item is calculated with nothing written.
        EXPECT_NE(run.output.find(part + std::string(",1,25,0,2,field data,3,,,,no field data\n")),
                  std::string::npos);
        EXPECT_NE(run.output.find(part + std::string(",1,25,0,0,logarithmic,1,,,,No data for")),
                  std::string::npos);
    }
    framework::Database library;
    library.Open(connect_);
    EXPECT_EQ(FirstValue(library, "SELECT COUNT(*) FROM victim"), "1");
}

TEST_F(HostOnServer, ConnectionLostMidBatchIsReconnectedOnceOrTheRestIsMarked) {
    MakeLibrary(HoldingLibrary());
    const std::string items =
        WriteItems("R-1,GB,30,0,0\nR-1,GB,20,0,0\nHOLD,GB,30,0,0\nR-1,GB,25,0,0\n");
    const std::string before =
        "2,R-1,1,30,0,0,logarithmic,3,1.8257418,,,\n3,R-1,1,20,0,0,logarithmic,3,1,,,\n";
    const struct {
        const char* name;
        bool serverRefusesReconnect;
        int exitCode;
        std::string after;
        std::string error;
    } rows[] = {
        {"reconnected", false, kExitOk,
         "4,HOLD,1,30,0,0,logarithmic,3,2.222222,,,\n5,R-1,1,25,0,0,logarithmic,3,1.3354863,,,\n",
         "part HOLD: reconnected; the item was calculated again\n"},
        {"unreachable", true, kExitDatabaseErrors,
         "4,HOLD,1,30,0,0,logarithmic,,,,,the primary library is unreachable\n"
         "5,R-1,1,25,0,0,logarithmic,,,,,the primary library is unreachable\n",
         "part HOLD: the primary library is unreachable; this and the remaining items are not "
         "calculated\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        admin_.ExecuteSQL("ALTER DATABASE " + name_ + " CONNECTION LIMIT -1");
        framework::Database library;
        library.Open(connect_);
        library.ExecuteSQL("SELECT setval('hold_once', 1, false)");
        library.Close();
        FILE* host = popen(CalcCommand(items).c_str(), "r");
        ASSERT_NE(host, nullptr);
        const std::string sleeping = "SELECT pid FROM pg_stat_activity WHERE datname = '" + name_ +
                                     "' AND wait_event = 'PgSleep'";
        std::string pid;
        for (int tries = 0; tries < 600 && pid.empty(); ++tries) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            pid = FirstValue(admin_, sleeping);
        }
        EXPECT_FALSE(pid.empty()) << "the host never reached part HOLD";
        if (row.serverRefusesReconnect) {
            admin_.ExecuteSQL("ALTER DATABASE " + name_ + " CONNECTION LIMIT 0");
        }
        if (!pid.empty()) {
            FirstValue(admin_, "SELECT pg_terminate_backend(" + pid + ")");
        }
        const test::ProgramRun run = FinishProgram(host);
        EXPECT_EQ(run.exitCode, row.exitCode) << Errors();
        EXPECT_NE(run.output.find(before + row.after), std::string::npos) << run.output;
        EXPECT_NE(Errors().find(row.error), std::string::npos) << Errors();
    }
}

// A port on 127.0.0.1 that nothing listens on now.
std::string FreePort() {
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    const bool bound = bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                       getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    close(probe);
    return bound ? std::to_string(ntohs(address.sin_port)) : "";
}

// A PostgreSQL server of the test's own (scripts/pg-server.sh on a free port and a folder of its
// own), so that stopping it touches no other suite. The server is stopped and its folder removed
// when the guard goes away, whatever the test did.
class OwnServer {
  public:
    OwnServer() {
        const std::string prefix = "export TAVRIN21_PG_CONNECT='";
        const auto run = framework::RunProgram(Script("start"));
        if (run && run->exitCode == 0 && run->output.rfind(prefix, 0) == 0) {
            const std::size_t end = run->output.find('\'', prefix.size());
            connect_ = run->output.substr(prefix.size(), end - prefix.size());
        }
    }
    ~OwnServer() { framework::RunProgram(Script("stop")); }
    OwnServer(const OwnServer&) = delete;
    OwnServer& operator=(const OwnServer&) = delete;

    const std::string& Connect() const { return connect_; }  // empty when it did not start
    bool Halt(const std::string& mode) {
        const auto run = framework::RunProgram(Script("halt " + mode));
        return run && run->exitCode == 0;
    }

  private:
    std::string Script(const std::string& command) const {
        return "TAVRIN21_PG_PORT=" + port_ + " TAVRIN21_PG_DATA=/tmp/tavrin21-pg-stop-" + port_ +
               " bash " TAVRIN21_PG_SERVER_SCRIPT " " + command;
    }

    std::string port_ = FreePort();
    std::string connect_;
};

TEST(HostOnStoppingServer, ItemsFromTheOneInFlightOnAreMarkedUnreachable) {
    const auto available = framework::RunProgram("bash " TAVRIN21_PG_SERVER_SCRIPT " available");
    if (!available || available->exitCode != 0) {
        const char* ci = std::getenv("CI");
        if (ci != nullptr && std::string_view(ci) == "true") {
            FAIL() << "no PostgreSQL server binaries (CI=true: every backend must run)";
        }
        GTEST_SKIP() << "no PostgreSQL server binaries to start a server of the test's own";
    }
    test::ScratchDirectory scratch;
    const std::string items = (scratch / "items.csv").string();
    std::ofstream(items) << "PartNumber,EnvironmentCode,Temperature,MethodCode,Mode\n"
                         << "R-1,GB,30,0,0\nR-1,GB,20,0,0\nHOLD,GB,30,0,0\nR-1,GB,25,0,0\n";
    const auto readFile = [](const std::filesystem::path& path) {
        std::ifstream file(path);
        return std::string(std::istreambuf_iterator<char>(file), {});
    };
    const std::string unreachable = ",logarithmic,,,,,the primary library is unreachable\n";
    for (const char* mode : {"fast", "immediate"}) {
        SCOPED_TRACE(mode);
        OwnServer server;
        ASSERT_FALSE(server.Connect().empty()) << "the test's own server did not start";
        MakeServerLibrary(server.Connect(), HoldingLibrary());
        const auto calc = [&](const std::string& output) {
            return test::HostProgram() + " calc --format csv --items " + items + " --primary '" +
                   server.Connect() + "' --output " + (scratch / output).string() + " 2>" +
                   (scratch / "err.txt").string();
        };
        framework::Database watch;
        watch.Open(server.Connect());
        // A run without the fault first (HOLD does not sleep once the sequence is past 1).
        watch.ExecuteSQL("SELECT setval('hold_once', 1)");
        const test::ProgramRun clean = test::RunShell(calc("clean.csv"));
        ASSERT_EQ(clean.exitCode, kExitOk) << readFile(scratch / "err.txt");
        const std::string expectedClean = readFile(scratch / "clean.csv");
        const std::size_t hold = expectedClean.find("\n4,HOLD,");
        ASSERT_NE(hold, std::string::npos) << expectedClean;

        watch.ExecuteSQL("SELECT setval('hold_once', 1, false)");
        FILE* host = popen(calc("faulted.csv").c_str(), "r");
        ASSERT_NE(host, nullptr);
        const std::string sleepers =
            "SELECT COUNT(*) FROM pg_stat_activity WHERE wait_event = 'PgSleep'";
        bool sleeping = false;
        for (int tries = 0; tries < 600 && !sleeping; ++tries) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            sleeping = FirstValue(watch, sleepers) == "1";
        }
        watch.Close();
        EXPECT_TRUE(sleeping) << "the host never reached part HOLD";
        EXPECT_TRUE(server.Halt(mode));
        const test::ProgramRun run = FinishProgram(host);
        const std::string errors = readFile(scratch / "err.txt");
        EXPECT_EQ(run.exitCode, kExitDatabaseErrors) << errors;
        // The items before HOLD as the clean run wrote them; HOLD and every later item marked.
        EXPECT_EQ(readFile(scratch / "faulted.csv"), expectedClean.substr(0, hold + 1) +
                                                         "4,HOLD,1,30,0,0" + unreachable +
                                                         "5,R-1,1,25,0,0" + unreachable);
        EXPECT_NE(
            errors.find("part HOLD: the primary library is unreachable; this and the remaining "
                        "items are not calculated\n"),
            std::string::npos)
            << errors;
    }
}

}  // namespace
}  // namespace tavrin21::host
