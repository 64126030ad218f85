#pragma once

// The prefetch query (PrefetchQueryText) and its parameters.

#include "framework/prepared_statement.h"
#include "host/morvik/rates_query.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace morvik {

struct TableKey {
    std::string partNumber;
    std::uint8_t environmentCode = 0;
};

// PrefetchQueryText, built once: it is the statement cache's key.
const std::string& PrefetchQuery();

// The parameters of keys[first, first + count), count at most kPrefetchChunkKeys; the rest of
// the chunk repeats the last key (its k then exceeds count).
std::vector<framework::SqlParameter> PrefetchParameters(const std::vector<TableKey>& keys,
                                                        std::size_t first,
                                                        std::size_t count);

}  // namespace morvik
