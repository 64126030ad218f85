#include "tests/library/backend_fixture.h"

#include "framework/odbc_api.h"
#include "tests/support/sql_script.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <unistd.h>

namespace tavrin21::test {

BackendTest::~BackendTest() {
    framework::odbc::ClearFaults();
    primary_.reset();
    secondary_.reset();
    for (const std::string& schema : schemas_) {
        try {
            pgAdmin_->ExecuteSQL("DROP SCHEMA " + schema + " CASCADE");
        } catch (const std::exception& error) {
            ADD_FAILURE() << "cannot drop the test schema " << schema << ": " << error.what();
        }
    }
}

void BackendTest::SetUp() {
    if (GetParam() == Backend::Postgres) {
        const char* pgConnect = std::getenv("TAVRIN21_PG_CONNECT");
        if (pgConnect == nullptr || *pgConnect == '\0') {
            const char* ci = std::getenv("CI");
            if (ci != nullptr && std::string_view(ci) == "true") {
                FAIL() << "TAVRIN21_PG_CONNECT is not set (CI=true: every backend must run)";
            }
            GTEST_SKIP() << "TAVRIN21_PG_CONNECT is not set; start scripts/pg-server.sh";
        }
        pgConnect_ = pgConnect;
        pgAdmin_ = std::make_unique<framework::Database>();
        pgAdmin_->Open(pgConnect_);
    }
    primary_ = Connect("primary");
    secondary_ = Connect("secondary");
}

std::unique_ptr<framework::Database> BackendTest::Connect(const std::string& name) {
    auto database = std::make_unique<framework::Database>();
    if (GetParam() == Backend::Sqlite) {
        database->Open(SqliteConnectString(scratch_ / (name + ".sqlite")));
        return database;
    }
    database->Open(pgConnect_);
    database->ExecuteSQL("SET search_path TO " + Schema(name));
    return database;
}

std::string BackendTest::Schema(const std::string& name) {
    // Suites of one run may run side by side in separate processes on the same server.
    const std::string schema = "tavrin21_test_" + std::to_string(getpid()) + "_" + name;
    if (std::find(schemas_.begin(), schemas_.end(), schema) == schemas_.end()) {
        pgAdmin_->ExecuteSQL("CREATE SCHEMA " + schema);
        schemas_.push_back(schema);
    }
    return schema;
}

std::string BackendTest::SourceForProgram(const std::string& name) {
    if (GetParam() == Backend::Sqlite) {
        return (scratch_ / (name + ".sqlite")).string();
    }
    const std::string separator = !pgConnect_.empty() && pgConnect_.back() == ';' ? "" : ";";
    return pgConnect_ + separator + "ConnSettings={SET search_path TO " + Schema(name) + "};";
}

}  // namespace tavrin21::test
