#pragma once

#include <cstddef>
#include <string>

namespace morvik {

// The limits and the points of one part and environment, after "SELECT ": every row holds the
// limits, beside one point of the part, or beside NULLs when the part has no points
// (PointEnvCode, never NULL in a point's row, tells the two apart). The limits come from one
// FRTable row even where a library without a key holds several, so the points are never
// repeated. Four parameters: part, environment, part, environment.
inline const std::string kRatesColumnsAndSource =
    "t.MinTemperature, t.MaxTemperature, p.EnvCode AS PointEnvCode, p.Slot, "
    "p.Temperature, p.Rate "
    "FROM (SELECT MinTemperature, MaxTemperature FROM FRTable "
    "WHERE PartNumber = ? AND EnvCode = ? LIMIT 1) t "
    "LEFT JOIN FRTablePoint p ON p.PartNumber = ? AND p.EnvCode = ?";

// One item's query, so that an item costs one round trip to a server, points in slot order.
// Prepared once per connection (the database's statement cache) and run again for every item.
inline const std::string kRatesQuery = "SELECT " + kRatesColumnsAndSource + " ORDER BY p.Slot";

// Keys per prefetch query: the statement keeps one shape, prepared once per connection. SQLite
// takes at most 500 terms in a compound select and, built with its old default, 999 parameters;
// 128 keys make 128 terms and 512 parameters.
inline constexpr std::size_t kPrefetchChunkKeys = 128;

// The tables of many keys in one round trip: the rates query of each key, numbered by a column k
// from 1, joined with UNION ALL and sorted by k and slot. Each key keeps its own
// "PartNumber = ?" comparisons, so a server types and collates the parameters exactly as it does
// for one item, and nothing matches part numbers outside the database.
inline std::string PrefetchQueryText() {
    std::string sql;
    for (std::size_t k = 1; k <= kPrefetchChunkKeys; ++k) {
        sql += k == 1 ? "SELECT " : " UNION ALL SELECT ";
        sql += std::to_string(k) + " AS k, " + kRatesColumnsAndSource;
    }
    return sql + " ORDER BY 1, 5";  // k, then Slot
}

}  // namespace morvik
