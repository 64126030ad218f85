#pragma once

// Database suites run over every backend: SQLite files through the SQLite3 ODBC driver, and a
// PostgreSQL server through psqlODBC when TAVRIN21_PG_CONNECT names one (see
// scripts/pg-server.sh). Without it the PostgreSQL cases are skipped, except under CI=true,
// where they fail so that a missing server cannot pass unnoticed.

#include "framework/database.h"
#include "tests/support/scratch_directory.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21::test {

enum class Backend { Sqlite, Postgres };

inline constexpr const char* kPgConnectVariable = "TAVRIN21_PG_CONNECT";

std::vector<Backend> AllBackends();
std::string BackendName(Backend backend);

// Fresh, empty databases for one test, each reached by name: SQLite files in a scratch folder,
// or schemas of the PostgreSQL test database (unique to this process, dropped at the end).
class TestDatabases {
  public:
    TestDatabases(Backend backend, std::string pgConnectString);
    ~TestDatabases();
    TestDatabases(const TestDatabases&) = delete;
    TestDatabases& operator=(const TestDatabases&) = delete;

    // A new open connection to the database `name`, made empty on its first use.
    std::unique_ptr<framework::Database> Connect(const std::string& name);

    Backend backend() const { return backend_; }

  private:
    std::string SchemaName(const std::string& name) const;

    Backend backend_;
    std::string pgConnectString_;
    std::unique_ptr<ScratchDirectory> scratch_;
    std::unique_ptr<framework::Database> pgAdmin_;
    std::vector<std::string> schemas_;
};

// Why `backend` cannot be used in this run, or an empty text when it can.
std::string UnavailableReason(Backend backend);
bool RunningInCi();

// Skips the test when `backend` is unavailable, or fails it when CI=true.
#define TAVRIN21_REQUIRE_BACKEND(backend)                                             \
    do {                                                                              \
        const std::string unavailable = ::tavrin21::test::UnavailableReason(backend); \
        if (!unavailable.empty()) {                                                   \
            if (::tavrin21::test::RunningInCi()) {                                    \
                FAIL() << unavailable << " (CI=true: every backend must run)";        \
            }                                                                         \
            GTEST_SKIP() << unavailable;                                              \
        }                                                                             \
    } while (false)

// A value-parameterised fixture over the backends; SetUp skips or fails as described above.
class BackendTest : public ::testing::TestWithParam<Backend> {
  protected:
    void SetUp() override;

    TestDatabases& Databases() { return *databases_; }

  private:
    std::unique_ptr<TestDatabases> databases_;
};

// The same for a suite that needs the PostgreSQL server alone.
class PostgresTest : public ::testing::Test {
  protected:
    void SetUp() override;

    TestDatabases& Databases() { return *databases_; }

  private:
    std::unique_ptr<TestDatabases> databases_;
};

std::string BackendParamName(const ::testing::TestParamInfo<Backend>& info);

// One row of PartFR; the columns the field-data method does not use stay NULL.
struct PartFrRow {
    std::string partNumber;
    int timeNumber = 0;
    int envCode = 1;
    int procCode = 0;
    double frTime = 0.0;
    int isCencored = 0;
};

// Drops PartFR and makes it anew from the shipped schema.
void RecreatePartFr(framework::Database& database);
// Inserts the rows, in the order given, in one statement.
void InsertPartFrRows(framework::Database& database, const std::vector<PartFrRow>& rows);

// `text` as an SQL string literal, apostrophes doubled.
std::string SqlText(const std::string& text);
// `value` written so that it reads back as the same double.
std::string SqlNumber(double value);

}  // namespace tavrin21::test
