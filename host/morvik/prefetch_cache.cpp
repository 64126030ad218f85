#include "host/morvik/prefetch_cache.h"

#include "framework/database.h"
#include "framework/db_exception.h"

#include <mutex>
#include <unordered_set>

namespace morvik {

namespace {

// What was read on one connection of a database: a database closed, reopened or destroyed and
// another made at its address has another connection serial, and finds nothing.
struct ConnectionTables {
    std::uint64_t connectionSerial = 0;
    PrefetchedTables tables;
};

struct Caches {
    std::mutex mutex;
    std::unordered_map<const framework::Database*, ConnectionTables> byDatabase;
};

Caches& TheCaches() {
    static Caches caches;
    return caches;
}

void Store(const framework::Database& database, PrefetchedTables tables) {
    Caches& caches = TheCaches();
    const std::lock_guard lock(caches.mutex);
    if (tables.empty()) {
        caches.byDatabase.erase(&database);
    } else {
        caches.byDatabase.insert_or_assign(
            &database, ConnectionTables{database.ConnectionSerial(), std::move(tables)});
    }
}

std::vector<TableKey> UniqueKeys(const std::vector<TableKey>& keys) {
    std::unordered_set<std::string> seen;
    std::vector<TableKey> unique;
    for (const TableKey& key : keys) {
        if (seen.insert(KeyText(key.partNumber, key.environmentCode)).second) {
            unique.push_back(key);
        }
    }
    return unique;
}

bool Usable(const framework::Database* database) {
    return database != nullptr && database->IsOpen();
}

// Prefetches `keys` on `database` into its cache; returns the keys it does not hold usable rates
// for (all of them when the prefetch fails).
std::vector<TableKey> PrefetchInto(framework::Database& database,
                                   const std::vector<TableKey>& keys,
                                   bool& failed) {
    PrefetchedTables tables;
    try {
        tables = PrefetchTabledRates(database, keys);
    } catch (const framework::DbException&) {
        // Dropped, not reported: each item's own lookup runs the query again and reports it.
        DropPrefetched(database);
        failed = true;
        return keys;
    }
    std::vector<TableKey> notUsable;
    for (const TableKey& key : keys) {
        const PrefetchedAnswer& answer = tables.at(KeyText(key.partNumber, key.environmentCode));
        if (!std::holds_alternative<TabledRates>(answer)) {
            notUsable.push_back(key);
        }
    }
    Store(database, std::move(tables));
    return notUsable;
}

}  // namespace

bool PrefetchTables(const std::vector<TableKey>& keys,
                    framework::Database* primary,
                    framework::Database* secondary) {
    for (const framework::Database* database : {primary, secondary}) {
        if (database != nullptr) {
            DropPrefetched(*database);
        }
    }
    std::vector<TableKey> remaining = UniqueKeys(keys);
    bool failed = false;
    if (Usable(primary)) {
        remaining = PrefetchInto(*primary, remaining, failed);
    }
    if (secondary != primary && Usable(secondary)) {
        PrefetchInto(*secondary, remaining, failed);
    }
    return !failed;
}

std::optional<PrefetchedAnswer> FindPrefetched(const framework::Database& database,
                                               const std::string& partNumber,
                                               std::uint8_t environmentCode) {
    Caches& caches = TheCaches();
    const std::lock_guard lock(caches.mutex);
    const auto held = caches.byDatabase.find(&database);
    if (held == caches.byDatabase.end()) {
        return std::nullopt;
    }
    if (held->second.connectionSerial != database.ConnectionSerial()) {
        caches.byDatabase.erase(held);
        return std::nullopt;
    }
    const auto answer = held->second.tables.find(KeyText(partNumber, environmentCode));
    if (answer == held->second.tables.end()) {
        return std::nullopt;
    }
    return answer->second;
}

void DropPrefetched(const framework::Database& database) {
    Store(database, {});
}

}  // namespace morvik
