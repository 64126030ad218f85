#include "tests/library/backend_fixture.h"

#include "framework/db_exception.h"
#include "tests/support/sql_script.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <unistd.h>

namespace tavrin21::test {

namespace {

std::string PgConnectString() {
    const char* value = std::getenv(kPgConnectVariable);
    return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

bool RunningInCi() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::string(ci) == "true";
}

std::string UnavailableReason(Backend backend) {
    if (backend == Backend::Postgres && PgConnectString().empty()) {
        return std::string(kPgConnectVariable) +
               " is not set; start a server with scripts/pg-server.sh start";
    }
    return {};
}

std::vector<Backend> AllBackends() {
    return {Backend::Sqlite, Backend::Postgres};
}

std::string BackendName(Backend backend) {
    return backend == Backend::Sqlite ? "SQLite" : "PostgreSQL";
}

std::string BackendParamName(const ::testing::TestParamInfo<Backend>& info) {
    return BackendName(info.param);
}

TestDatabases::TestDatabases(Backend backend, std::string pgConnectString)
    : backend_(backend), pgConnectString_(std::move(pgConnectString)) {
    if (backend_ == Backend::Sqlite) {
        scratch_ = std::make_unique<ScratchDirectory>();
        return;
    }
    pgAdmin_ = std::make_unique<framework::Database>();
    pgAdmin_->Open(pgConnectString_);
}

TestDatabases::~TestDatabases() {
    for (const std::string& schema : schemas_) {
        try {
            pgAdmin_->ExecuteSQL("DROP SCHEMA IF EXISTS " + schema + " CASCADE");
        } catch (const framework::DbException& error) {
            ADD_FAILURE() << "cannot drop the test schema " << schema << ": " << error.what();
        }
    }
}

std::string TestDatabases::SchemaName(const std::string& name) const {
    // Tests of one run may run side by side in separate processes on the same server.
    return "tavrin21_test_" + std::to_string(getpid()) + "_" + name;
}

std::unique_ptr<framework::Database> TestDatabases::Connect(const std::string& name) {
    auto database = std::make_unique<framework::Database>();
    if (backend_ == Backend::Sqlite) {
        database->Open(SqliteConnectString(*scratch_ / (name + ".sqlite")));
        return database;
    }
    const std::string schema = SchemaName(name);
    if (std::find(schemas_.begin(), schemas_.end(), schema) == schemas_.end()) {
        pgAdmin_->ExecuteSQL("DROP SCHEMA IF EXISTS " + schema + " CASCADE");
        pgAdmin_->ExecuteSQL("CREATE SCHEMA " + schema);
        schemas_.push_back(schema);
    }
    database->Open(pgConnectString_);
    database->ExecuteSQL("SET search_path TO " + schema);
    return database;
}

void BackendTest::SetUp() {
    TAVRIN21_REQUIRE_BACKEND(GetParam());
    databases_ = std::make_unique<TestDatabases>(GetParam(), PgConnectString());
}

void PostgresTest::SetUp() {
    TAVRIN21_REQUIRE_BACKEND(Backend::Postgres);
    databases_ = std::make_unique<TestDatabases>(Backend::Postgres, PgConnectString());
}

void RecreatePartFr(framework::Database& database) {
    database.ExecuteSQL("DROP TABLE IF EXISTS PartFR");
    RunSqlScript(database, ExampleFile("part_fr.sql"));
}

void InsertPartFrRows(framework::Database& database, const std::vector<PartFrRow>& rows) {
    if (rows.empty()) {
        return;
    }
    std::string sql =
        "INSERT INTO PartFR (PartNumber, TimeNumber, EnvCode, ProcCode, FRTime, IsCencored) "
        "VALUES ";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const PartFrRow& row = rows[i];
        sql += (i == 0 ? "(" : ", (") + SqlText(row.partNumber) + ", " +
               std::to_string(row.timeNumber) + ", " + std::to_string(row.envCode) + ", " +
               std::to_string(row.procCode) + ", " + SqlNumber(row.frTime) + ", " +
               std::to_string(row.isCencored) + ")";
    }
    database.ExecuteSQL(sql);
}

std::string SqlText(const std::string& text) {
    std::string literal = "'";
    for (const char c : text) {
        literal += c;
        if (c == '\'') {
            literal += '\'';
        }
    }
    return literal + "'";
}

std::string SqlNumber(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace tavrin21::test
