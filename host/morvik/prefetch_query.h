#pragma once

// The query that reads the tables of many keys in one round trip: the rates query of each key,
// numbered by a column k from 1, joined with UNION ALL and sorted by k and slot. Each key keeps
// its own "PartNumber = ?" comparisons, so a server types and collates the parameters exactly as
// it does for one item, and nothing matches part numbers outside the database.

#include "framework/prepared_statement.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace morvik {

// Keys per statement: the statement keeps one shape, prepared once per connection.
inline constexpr std::size_t kPrefetchChunkKeys = 128;

struct TableKey {
    std::string partNumber;
    std::uint8_t environmentCode = 0;
};

// The query for kPrefetchChunkKeys keys.
const std::string& PrefetchQuery();

// The parameters of keys[first, first + count), count at most kPrefetchChunkKeys; the rest of
// the chunk repeats the last key (its k then exceeds count).
std::vector<framework::SqlParameter> PrefetchParameters(const std::vector<TableKey>& keys,
                                                        std::size_t first,
                                                        std::size_t count);

}  // namespace morvik
