#pragma once

// Database suites run on SQLite files and, when TAVRIN21_PG_CONNECT names a server (see
// scripts/pg-server.sh), on PostgreSQL. Without it the PostgreSQL cases are skipped, except under
// CI=true, where they fail so that a missing server cannot pass unnoticed.

#include "framework/database.h"
#include "framework/message_box.h"
#include "tests/support/scratch_directory.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21::test {

enum class Backend { Sqlite, Postgres };
inline const auto kAllBackends = ::testing::Values(Backend::Sqlite, Backend::Postgres);
inline const auto kPostgresOnly = ::testing::Values(Backend::Postgres);
inline std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
    return info.param == Backend::Sqlite ? "SQLite" : "PostgreSQL";
}
// How a failure names the backend it ran on.
inline void PrintTo(Backend backend, std::ostream* out) {
    *out << (backend == Backend::Sqlite ? "SQLite" : "PostgreSQL");
}

// Each test gets two empty databases for the host's primary and secondary connection, and the
// texts of the message boxes shown meanwhile, each of which must be an OK box with help context 16
// (a database error). Faults injected into ODBC are cleared at the end.
class BackendTest : public ::testing::TestWithParam<Backend> {
  protected:
    ~BackendTest() override;
    void SetUp() override;

    // A new connection to the database `name`: a SQLite file, or a schema of the PostgreSQL
    // database unique to this process and dropped at the end.
    std::unique_ptr<framework::Database> Connect(const std::string& name);
    // What another program is given to open the same database: the SQLite file's path, or a
    // connect string whose session works in that schema.
    std::string SourceForProgram(const std::string& name);

    std::unique_ptr<framework::Database> primary_;
    std::unique_ptr<framework::Database> secondary_;
    std::vector<std::string> boxes_;

  private:
    ScratchDirectory scratch_;
    std::string pgConnect_;
    std::unique_ptr<framework::Database> pgAdmin_;
    std::vector<std::string> schemas_;
    std::string Schema(const std::string& name);
    framework::ScopedMessageSink sink_{
        [this](const std::string& text, unsigned type, unsigned help) {
            EXPECT_EQ(type, 0u) << text;
            EXPECT_EQ(help, 16u) << text;
            boxes_.push_back(text);
            return framework::kIdOk;
        }};
};

}  // namespace tavrin21::test
