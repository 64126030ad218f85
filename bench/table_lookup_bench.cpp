// The table method's lookups, as the module makes them: AccGetFromTable of the host library
// through the real ODBC drivers, against a minimal program that runs the same prepared query
// straight through ODBC (bound buffers, nothing else). Both run in the same benchmark,
// in alternating short rounds of items, so that a busy machine slows them alike; the benchmark
// reports each one's items per second of wall time, the ratio of their wall times (over the whole
// run, and the median of the rounds' ratios, which a burst of load on one side moves less), and
// each one's items per second of this process's processor time (it leaves out the server's share
// of a PostgreSQL lookup).
//
// The same for reading ahead: AccPrefetchTable of a chunk's keys, then AccGetFromTable of each,
// against a minimal program that runs the same set query with bound buffers and fills the
// records from its rows.
//
// The library: kParts parts in one environment, four points each, in an SQLite file and, when
// TAVRIN21_PG_CONNECT names a server, in a schema of its own on that server.

#include "framework/database.h"
#include "host/morvik/rates_query.h"
#include "morvik/morvik.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

#include <benchmark/benchmark.h>
#include <sql.h>
#include <sqlext.h>

namespace {

constexpr int kParts = 1000;
constexpr int kItemsPerRound = 20;
constexpr std::uint8_t kEnvironment = 1;

std::string PartNumber(int part) {
    char text[32];
    std::snprintf(text, sizeof text, "BENCH-%05d", part);
    return text;
}

void Fill(framework::Database& database) {
    database.ExecuteSQL(
        "CREATE TABLE FRTable (PartNumber VARCHAR(62) NOT NULL, EnvCode INTEGER NOT NULL, "
        "MinTemperature DOUBLE PRECISION NOT NULL, MaxTemperature DOUBLE PRECISION NOT NULL, "
        "PRIMARY KEY (PartNumber, EnvCode))");
    database.ExecuteSQL(
        "CREATE TABLE FRTablePoint (PartNumber VARCHAR(62) NOT NULL, EnvCode INTEGER NOT NULL, "
        "Slot INTEGER NOT NULL, Temperature DOUBLE PRECISION NOT NULL, "
        "Rate DOUBLE PRECISION NOT NULL, PRIMARY KEY (PartNumber, EnvCode, Slot))");
    database.ExecuteSQL("BEGIN");
    for (int part = 0; part < kParts; ++part) {
        const std::string key = "'" + PartNumber(part) + "', " + std::to_string(kEnvironment);
        database.ExecuteSQL("INSERT INTO FRTable VALUES (" + key + ", -55, 125)");
        for (int slot = 0; slot < 4; ++slot) {
            database.ExecuteSQL("INSERT INTO FRTablePoint VALUES (" + key + ", " +
                                std::to_string(slot) + ", " + std::to_string(25 * (slot + 1)) +
                                ", " + std::to_string(0.001 * (part % 7 + 1) * (slot + 1)) + ")");
        }
    }
    database.ExecuteSQL("COMMIT");
}

void CheckCall(SQLRETURN rc, const char* program, const char* what) {
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) {
        throw std::runtime_error(std::string(program) + ": " + what + " failed");
    }
}

// The six columns of a rates row (limits, point environment, slot, temperature, rate), bound
// once to fixed buffers from column `first` on, and what a fetched row gives a record.
struct RateColumns {
    double minTemperature = 0, maxTemperature = 0, temperature = 0, rate = 0;
    SQLINTEGER pointEnvironment = 0, slot = 0;
    SQLLEN indicators[6] = {};

    void Bind(SQLHSTMT statement, SQLUSMALLINT first, const char* program) {
        const struct {
            SQLSMALLINT type;
            void* buffer;
        } columns[] = {{SQL_C_DOUBLE, &minTemperature},  {SQL_C_DOUBLE, &maxTemperature},
                       {SQL_C_SLONG, &pointEnvironment}, {SQL_C_SLONG, &slot},
                       {SQL_C_DOUBLE, &temperature},     {SQL_C_DOUBLE, &rate}};
        for (SQLUSMALLINT i = 0; i < 6; ++i) {
            CheckCall(SQLBindCol(statement, static_cast<SQLUSMALLINT>(first + i), columns[i].type,
                                 columns[i].buffer, 0, &indicators[i]),
                      program, "bind");
        }
    }
    void StartRecord(tavrin21::TabledRateRecord& record) const {
        record.MinTemperature = static_cast<float>(minTemperature);
        record.MaxTemperature = static_cast<float>(maxTemperature);
        std::memset(record.Points, 0, sizeof record.Points);
    }
    bool HasPoint() const { return indicators[2] != SQL_NULL_DATA; }
    void AddPoint(tavrin21::TabledRateRecord& record) const {
        if (HasPoint() && slot >= 0 &&
            slot < static_cast<SQLINTEGER>(tavrin21::kTabledPointCount)) {
            record.Points[slot].Temperature = static_cast<float>(temperature);
            record.Points[slot].Rate = static_cast<float>(rate);
        }
    }
};

// The floor: the statement prepared once, parameters and columns bound once to fixed buffers; an
// item is a copy into the key buffer and one execution. It runs on the host library's own
// connection (a borrowed SQLHDBC), so that both meet the same server process: with a connection
// each, the two server processes were scheduled unevenly on a busy machine, and the ratio of the
// two sides swung between 0.6 and 2.2 from one run to the next.
class MinimalLookup {
  public:
    explicit MinimalLookup(SQLHDBC connection) : connection_(connection) {
        rates_ = PrepareWithKey(morvik::kRatesQuery.c_str());
        columns_.Bind(rates_, 1, "minimal lookup");
    }
    ~MinimalLookup() {
        if (rates_ != nullptr) {
            SQLFreeHandle(SQL_HANDLE_STMT, rates_);
        }
    }
    MinimalLookup(const MinimalLookup&) = delete;
    MinimalLookup& operator=(const MinimalLookup&) = delete;

    bool LookUp(const std::string& part, tavrin21::TabledRateRecord& record) {
        std::memcpy(key_, part.c_str(), part.size() + 1);
        keyLength_ = static_cast<SQLLEN>(part.size());
        Check(SQLExecute(rates_), "execute");
        SQLRETURN rc = SQLFetch(rates_);
        const bool found = rc != SQL_NO_DATA;
        if (found) {
            columns_.StartRecord(record);
        }
        const bool hasPoints = found && columns_.HasPoint();
        for (; hasPoints && (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO);
             rc = SQLFetch(rates_)) {
            columns_.AddPoint(record);
        }
        Check(rc == SQL_NO_DATA || !hasPoints ? SQL_SUCCESS : rc, "fetch");
        Check(SQLFreeStmt(rates_, SQL_CLOSE), "close");
        return found;
    }

  private:
    static void Check(SQLRETURN rc, const char* what) { CheckCall(rc, "minimal lookup", what); }

    SQLHSTMT PrepareWithKey(const char* sql) {
        SQLHSTMT statement = nullptr;
        Check(SQLAllocHandle(SQL_HANDLE_STMT, connection_, &statement), "statement");
        Check(SQLPrepare(statement, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql)), SQL_NTS),
              sql);
        // The key twice: once for the limits, once for the points.
        for (SQLUSMALLINT first : {1, 3}) {
            Check(SQLBindParameter(statement, first, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR,
                                   sizeof key_ - 1, 0, key_, sizeof key_, &keyLength_),
                  "bind");
            Check(SQLBindParameter(statement, first + 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER,
                                   0, 0, &environment32_, 0, nullptr),
                  "bind");
        }
        return statement;
    }

    SQLHDBC connection_ = nullptr;
    SQLHSTMT rates_ = nullptr;
    char key_[64] = {};
    SQLLEN keyLength_ = 0;
    SQLINTEGER environment32_ = kEnvironment;
    RateColumns columns_;
};

// The floor of reading ahead: the set query prepared once, every parameter and column bound once
// to fixed buffers; a chunk of keys is a copy into the key buffers, one execution, and the
// records filled from the rows.
class MinimalPrefetch {
  public:
    static constexpr std::size_t kKeys = morvik::kPrefetchChunkKeys;

    explicit MinimalPrefetch(SQLHDBC connection) {
        Check(SQLAllocHandle(SQL_HANDLE_STMT, connection, &query_), "statement");
        const std::string sql = morvik::PrefetchQueryText();
        Check(
            SQLPrepare(query_, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS),
            "prepare");
        for (std::size_t key = 0; key < kKeys; ++key) {
            const auto first = static_cast<SQLUSMALLINT>(4 * key + 1);
            for (SQLUSMALLINT at : {first, static_cast<SQLUSMALLINT>(first + 2)}) {
                Check(SQLBindParameter(query_, at, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR,
                                       sizeof keys_[key] - 1, 0, keys_[key], sizeof keys_[key],
                                       &keyLengths_[key]),
                      "bind");
                Check(SQLBindParameter(query_, at + 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0,
                                       0, &environment32_, 0, nullptr),
                      "bind");
            }
        }
        Check(SQLBindCol(query_, 1, SQL_C_SLONG, &k_, 0, &kIndicator_), "bind");
        columns_.Bind(query_, 2, "minimal prefetch");
    }
    ~MinimalPrefetch() {
        if (query_ != nullptr) {
            SQLFreeHandle(SQL_HANDLE_STMT, query_);
        }
    }
    MinimalPrefetch(const MinimalPrefetch&) = delete;
    MinimalPrefetch& operator=(const MinimalPrefetch&) = delete;

    // The records of the kKeys parts from `parts[first]` on (wrapping around); found[i] says
    // whether part i was in the table.
    void Prefetch(const std::vector<std::string>& parts,
                  std::size_t first,
                  tavrin21::TabledRateRecord* records,
                  bool* found) {
        for (std::size_t key = 0; key < kKeys; ++key) {
            const std::string& part = parts[(first + key) % parts.size()];
            std::memcpy(keys_[key], part.c_str(), part.size() + 1);
            keyLengths_[key] = static_cast<SQLLEN>(part.size());
            found[key] = false;
        }
        Check(SQLExecute(query_), "execute");
        SQLRETURN rc;
        while ((rc = SQLFetch(query_)) == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) {
            const auto key = static_cast<std::size_t>(k_ - 1);
            tavrin21::TabledRateRecord& record = records[key];
            if (!found[key]) {
                found[key] = true;
                columns_.StartRecord(record);
            }
            columns_.AddPoint(record);
        }
        Check(rc == SQL_NO_DATA ? SQL_SUCCESS : rc, "fetch");
        Check(SQLFreeStmt(query_, SQL_CLOSE), "close");
    }

  private:
    static void Check(SQLRETURN rc, const char* what) { CheckCall(rc, "minimal prefetch", what); }

    SQLHSTMT query_ = nullptr;
    char keys_[kKeys][64] = {};
    SQLLEN keyLengths_[kKeys] = {};
    SQLINTEGER environment32_ = kEnvironment;
    SQLINTEGER k_ = 0;
    SQLLEN kIndicator_ = 0;
    RateColumns columns_;
};

// A library on one backend, made once per run, and the connection that the host library and the
// minimal program share.
struct Backend {
    std::string connectString;
    std::string setup;  // run on the connection before use: the schema to search
    std::unique_ptr<framework::Database> admin;
    std::string schema;
    std::filesystem::path file;
    std::unique_ptr<framework::Database> hostConnection;
    std::unique_ptr<MinimalLookup> minimal;
    std::unique_ptr<MinimalPrefetch> minimalPrefetch;

    ~Backend() {
        Disconnect();
        hostConnection.reset();
        if (admin && !schema.empty()) {
            admin->ExecuteSQL("DROP SCHEMA " + schema + " CASCADE");
        }
        if (!file.empty()) {
            std::filesystem::remove(file);
        }
    }

    void Connect() {
        hostConnection = std::make_unique<framework::Database>();
        hostConnection->Open(connectString);
        if (!setup.empty()) {
            hostConnection->ExecuteSQL(setup);
        }
        const auto connection = static_cast<SQLHDBC>(hostConnection->NativeHandle());
        minimal = std::make_unique<MinimalLookup>(connection);
        minimalPrefetch = std::make_unique<MinimalPrefetch>(connection);
    }

    void Disconnect() {
        minimal.reset();
        minimalPrefetch.reset();
        if (hostConnection) {
            // What the host library read ahead on this connection must not outlive it.
            AccPrefetchTable(0, nullptr, nullptr, 0, hostConnection.get(), hostConnection.get());
        }
        hostConnection.reset();
    }
};

Backend& SqliteBackend() {
    static const std::unique_ptr<Backend> backend = [] {
        auto made = std::make_unique<Backend>();
        made->file = std::filesystem::temp_directory_path() /
                     ("tavrin21-lookup-bench-" + std::to_string(getpid()) + ".sqlite");
        std::filesystem::remove(made->file);
        made->connectString = "DRIVER=SQLite3;Database=" + made->file.string();
        framework::Database database;
        database.Open(made->connectString);
        Fill(database);
        return made;
    }();
    return *backend;
}

Backend* PostgresBackend() {
    const char* server = std::getenv("TAVRIN21_PG_CONNECT");
    if (server == nullptr || *server == '\0') {
        return nullptr;
    }
    static const std::unique_ptr<Backend> backend = [server] {
        auto made = std::make_unique<Backend>();
        made->connectString = server;
        made->schema = "tavrin21_lookup_bench_" + std::to_string(getpid());
        made->setup = "SET search_path TO " + made->schema;
        made->admin = std::make_unique<framework::Database>();
        made->admin->Open(server);
        made->admin->ExecuteSQL("CREATE SCHEMA " + made->schema);
        framework::Database database;
        database.Open(server);
        database.ExecuteSQL(made->setup);
        Fill(database);
        return made;
    }();
    return backend.get();
}

using Clock = std::chrono::steady_clock;

// Wall and processor time of one side; the processor time is this process's, so it leaves out
// what a server process spends on our queries.
struct Spent {
    Clock::duration wall{};
    std::clock_t processor = 0;

    // Runs `work`, adds its times and returns its wall time.
    template <typename Work>
    Clock::duration Add(Work&& work) {
        const std::clock_t processorStart = std::clock();
        const auto wallStart = Clock::now();
        work();
        const Clock::duration spent = Clock::now() - wallStart;
        wall += spent;
        processor += std::clock() - processorStart;
        return spent;
    }
    double WallSeconds() const { return std::chrono::duration<double>(wall).count(); }
    double ProcessorSeconds() const { return static_cast<double>(processor) / CLOCKS_PER_SEC; }
};

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// Alternating rounds of `runHost` and `runMinimal` (the same `itemsPerRound` items each), then
// `nextRound`; reports both sides' items per second and their ratio.
template <typename Host, typename Minimal, typename Next>
void MeasureRounds(benchmark::State& state,
                   int itemsPerRound,
                   Host&& runHost,
                   Minimal&& runMinimal,
                   Next&& nextRound) {
    Spent host, minimal;
    std::vector<double> roundRatios;
    bool hostFirst = true;
    for (auto _ : state) {
        Clock::duration hostRound{}, minimalRound{};
        if (hostFirst) {
            hostRound = host.Add(runHost);
            minimalRound = minimal.Add(runMinimal);
        } else {
            minimalRound = minimal.Add(runMinimal);
            hostRound = host.Add(runHost);
        }
        roundRatios.push_back(std::chrono::duration<double>(hostRound).count() /
                              std::chrono::duration<double>(minimalRound).count());
        hostFirst = !hostFirst;
        nextRound();
    }
    const double items = static_cast<double>(state.iterations()) * itemsPerRound;
    state.counters["host_items_per_s"] = items / host.WallSeconds();
    state.counters["minimal_items_per_s"] = items / minimal.WallSeconds();
    state.counters["host_to_minimal"] = host.WallSeconds() / minimal.WallSeconds();
    state.counters["host_to_minimal_median"] = Median(std::move(roundRatios));
    state.counters["host_items_per_cpu_s"] = items / host.ProcessorSeconds();
    state.counters["minimal_items_per_cpu_s"] = items / minimal.ProcessorSeconds();
}

std::vector<std::string> PartNumbers() {
    std::vector<std::string> parts;
    for (int part = 0; part < kParts; ++part) {
        parts.push_back(PartNumber(part));
    }
    return parts;
}

void RunLookups(benchmark::State& state, Backend& backend) {
    backend.Connect();
    const std::vector<std::string> parts = PartNumbers();
    // Both must find the same points, or the comparison means nothing.
    for (const std::string& part : {parts.front(), parts.back()}) {
        tavrin21::TabledRateRecord byHost{}, byMinimal{};
        std::strcpy(byHost.PartNumber, part.c_str());
        byHost.EnvironmentCode = kEnvironment;
        framework::Database* db = backend.hostConnection.get();
        if (AccGetFromTable(0, &part, &byHost, db, db) != 1 ||
            !backend.minimal->LookUp(part, byMinimal) ||
            std::memcmp(byHost.Points, byMinimal.Points, sizeof byHost.Points) != 0) {
            state.SkipWithError("the host library and the minimal program disagree");
            return;
        }
    }

    tavrin21::TabledRateRecord record{};
    record.EnvironmentCode = kEnvironment;
    framework::Database* db = backend.hostConnection.get();
    std::size_t next = 0;
    const auto runHost = [&] {
        for (int item = 0; item < kItemsPerRound; ++item) {
            const std::string& part = parts[(next + static_cast<std::size_t>(item)) % parts.size()];
            std::memcpy(record.PartNumber, part.c_str(), part.size() + 1);
            benchmark::DoNotOptimize(AccGetFromTable(0, &part, &record, db, db));
        }
    };
    const auto runMinimal = [&] {
        for (int item = 0; item < kItemsPerRound; ++item) {
            const std::string& part = parts[(next + static_cast<std::size_t>(item)) % parts.size()];
            benchmark::DoNotOptimize(backend.minimal->LookUp(part, record));
        }
    };
    MeasureRounds(state, kItemsPerRound, runHost, runMinimal,
                  [&] { next = (next + kItemsPerRound) % parts.size(); });
    state.SetLabel("a round: " + std::to_string(kItemsPerRound) +
                   " items by the host library, then the same by the minimal program");
    backend.Disconnect();
}

// A round is one chunk of keys read ahead and then looked up one by one.
void RunPrefetchedLookups(benchmark::State& state, Backend& backend) {
    constexpr std::size_t kKeys = MinimalPrefetch::kKeys;
    backend.Connect();
    // Twice over, so that any kKeys parts from one below kParts on lie side by side.
    std::vector<std::string> parts = PartNumbers();
    parts.insert(parts.end(), parts.begin(), parts.end());
    const std::vector<std::uint8_t> environments(kKeys, kEnvironment);
    framework::Database* db = backend.hostConnection.get();
    std::size_t next = 0;
    std::vector<tavrin21::TabledRateRecord> byHost(kKeys), byMinimal(kKeys);
    bool found[kKeys] = {};
    const auto runHost = [&] {
        AccPrefetchTable(0, &parts[next], environments.data(), static_cast<std::int32_t>(kKeys), db,
                         db);
        for (std::size_t key = 0; key < kKeys; ++key) {
            const std::string& part = parts[next + key];
            tavrin21::TabledRateRecord& record = byHost[key];
            std::memcpy(record.PartNumber, part.c_str(), part.size() + 1);
            record.EnvironmentCode = kEnvironment;
            benchmark::DoNotOptimize(AccGetFromTable(0, &part, &record, db, db));
        }
    };
    const auto runMinimal = [&] {
        backend.minimalPrefetch->Prefetch(parts, next, byMinimal.data(), found);
    };
    // Both must find the same points, or the comparison means nothing.
    runHost();
    runMinimal();
    for (std::size_t key = 0; key < kKeys; ++key) {
        if (!found[key] || std::memcmp(byHost[key].Points, byMinimal[key].Points,
                                       sizeof byHost[key].Points) != 0) {
            state.SkipWithError("the host library and the minimal program disagree");
            return;
        }
    }
    MeasureRounds(state, static_cast<int>(kKeys), runHost, runMinimal,
                  [&] { next = (next + kKeys) % kParts; });
    state.SetLabel("a round: " + std::to_string(kKeys) +
                   " items read ahead and looked up by the host library, then read by the "
                   "minimal program");
    backend.Disconnect();
}

void OnPostgres(benchmark::State& state, void (*run)(benchmark::State&, Backend&)) {
    Backend* backend = PostgresBackend();
    if (backend == nullptr) {
        state.SkipWithError("TAVRIN21_PG_CONNECT is not set");
        return;
    }
    run(state, *backend);
}

void BM_TableLookupSqlite(benchmark::State& state) {
    RunLookups(state, SqliteBackend());
}

void BM_TableLookupPostgres(benchmark::State& state) {
    OnPostgres(state, RunLookups);
}

void BM_TablePrefetchSqlite(benchmark::State& state) {
    RunPrefetchedLookups(state, SqliteBackend());
}

void BM_TablePrefetchPostgres(benchmark::State& state) {
    OnPostgres(state, RunPrefetchedLookups);
}

BENCHMARK(BM_TableLookupSqlite)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_TableLookupPostgres)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_TablePrefetchSqlite)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_TablePrefetchPostgres)->UseRealTime()->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
