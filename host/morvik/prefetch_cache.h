#pragma once

// The prefetched tables of each database, held until the next prefetch on it replaces them, a
// lookup on it fails, its user drops them, or its connection changes (closed, reopened).

#include "host/morvik/rate_prefetch.h"

#include <optional>

namespace morvik {

// Prefetches `keys` on `primary`, and those it does not find usable there on `secondary` (when
// it is another connection), replacing what each held before. A database whose prefetch fails
// holds nothing afterwards, so that its lookups run per item and report the failure there.
// Returns false when a prefetch failed. No keys: drops what both hold.
bool PrefetchTables(const std::vector<TableKey>& keys,
                    framework::Database* primary,
                    framework::Database* secondary);

// The prefetched answer for a key on `database`, if it holds one.
std::optional<PrefetchedAnswer> FindPrefetched(const framework::Database& database,
                                               const std::string& partNumber,
                                               std::uint8_t environmentCode);

void DropPrefetched(const framework::Database& database);

}  // namespace morvik
