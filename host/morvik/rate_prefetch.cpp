#include "host/morvik/rate_prefetch.h"

#include "framework/database.h"
#include "framework/recordset.h"
#include "framework/statement_cache.h"
#include "host/morvik/rate_rows.h"
#include "host/morvik/table_checks.h"

namespace morvik {

namespace {

// The prefetch query's rows with the key number k (from 1) of the current row. Each row's k is
// read once: a driver may refuse to read a column again, or before a column it has read.
class KeyedRows {
  public:
    explicit KeyedRows(framework::Recordset& rows) : rows_(rows) { ReadKey(); }

    bool AtEnd() const { return rows_.IsEOF(); }
    double Key() const { return key_; }
    framework::Recordset& Row() { return rows_; }

    void Next() {
        rows_.MoveNext();
        ReadKey();
    }

    void SkipKey(double k) {
        while (!AtEnd() && key_ == k) {
            Next();
        }
    }

  private:
    void ReadKey() { key_ = rows_.IsEOF() ? 0.0 : ReadNumber(rows_, "k").value_or(0.0); }

    framework::Recordset& rows_;
    double key_ = 0.0;
};

// The table of the current key, from its first row on, as LookUpTabledRates builds it from the
// same rows; leaves the rows at the next key's first row.
PrefetchedAnswer ReadTable(KeyedRows& rows) {
    const double k = rows.Key();
    try {
        CheckedTableBuilder table(ReadNumber(rows.Row(), "MinTemperature"),
                                  ReadNumber(rows.Row(), "MaxTemperature"));
        if (!ReadNumber(rows.Row(), "PointEnvCode")) {
            rows.Next();
            return table.Finish();
        }
        for (; !rows.AtEnd() && rows.Key() == k; rows.Next()) {
            AddPointRow(rows.Row(), table);
        }
        return table.Finish();
    } catch (const UnusableTable& error) {
        rows.SkipKey(k);
        return error;
    }
}

void PrefetchChunk(framework::Database& database,
                   const std::vector<TableKey>& keys,
                   std::size_t first,
                   std::size_t count,
                   PrefetchedTables& answers) {
    framework::Recordset recordset(&database);
    recordset.Open(database.Statements().Get(database, PrefetchQuery()),
                   PrefetchParameters(keys, first, count));
    for (KeyedRows rows(recordset); !rows.AtEnd();) {
        const double k = rows.Key();
        if (k < 1 || k > static_cast<double>(count)) {
            rows.SkipKey(k);  // the padding's repeated key
            continue;
        }
        const TableKey& key = keys[first + static_cast<std::size_t>(k) - 1];
        answers.insert_or_assign(KeyText(key.partNumber, key.environmentCode), ReadTable(rows));
    }
    for (std::size_t i = first; i < first + count; ++i) {
        answers.try_emplace(KeyText(keys[i].partNumber, keys[i].environmentCode), NotInTable{});
    }
}

}  // namespace

std::string KeyText(const std::string& partNumber, std::uint8_t environmentCode) {
    return static_cast<char>(environmentCode) + partNumber;
}

PrefetchedTables PrefetchTabledRates(framework::Database& database,
                                     const std::vector<TableKey>& keys) {
    PrefetchedTables answers;
    answers.reserve(keys.size());
    for (std::size_t first = 0; first < keys.size(); first += kPrefetchChunkKeys) {
        const std::size_t count = std::min(kPrefetchChunkKeys, keys.size() - first);
        PrefetchChunk(database, keys, first, count, answers);
    }
    return answers;
}

}  // namespace morvik
