#pragma once

// The tables of many keys read from one database in a few round trips, each answered exactly as
// LookUpTabledRates answers it for one key.

#include "host/morvik/prefetch_query.h"
#include "host/morvik/rate_table.h"

#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

namespace morvik {

struct NotInTable {};

// What the table holds for one key: nothing, the rates, or why they cannot be used.
using PrefetchedAnswer = std::variant<NotInTable, TabledRates, UnusableTable>;

// The answers by KeyText.
using PrefetchedTables = std::unordered_map<std::string, PrefetchedAnswer>;

std::string KeyText(const std::string& partNumber, std::uint8_t environmentCode);

// The answer of every key of `keys` (which holds each key once) on `database`. Throws
// framework::DbException when the database fails.
PrefetchedTables PrefetchTabledRates(framework::Database& database,
                                     const std::vector<TableKey>& keys);

}  // namespace morvik
