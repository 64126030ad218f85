#pragma once

// The host calculation library: the failure-rate table of the failure-rate library.

#include "framework/platform/export.h"
#include "tavrin21/tabled_rate_record.h"

#include <cstdint>
#include <string>

namespace framework {
class Database;
}

extern "C" {

// Looks the part and environment of `record` up, on `primaryDb` first and then on
// `secondaryDb`. Returns 1 when found, with Points, MinTemperature and MaxTemperature filled
// (empty slots zero); any other value when not, with the record left as it was.
// `selector` must be 0: the failure-rate table is the only table this library serves.
MORVIK_API std::int32_t TAVRIN21_CDECL AccGetFromTable(std::int32_t selector,
                                                       const std::string* partNumber,
                                                       tavrin21::TabledRateRecord* record,
                                                       framework::Database* primaryDb,
                                                       framework::Database* secondaryDb);

// Reads the tables of `count` keys (partNumbers[i] in environment environmentCodes[i]) in a few
// round trips: on `primaryDb`, and those not usable there on `secondaryDb`. Until the next
// prefetch on a database, AccGetFromTable answers these keys from what was read, exactly as its
// own query would have (an unusable table is still shown at the key's own lookup), and queries
// for any other key. What was read holds for the connection it was read on only: closing or
// reopening the database forgets it, and so does a failed lookup on it, or a prefetch of no keys
// (which frees the memory at once).
// Returns 1 when every prefetch succeeded; 0 otherwise (nothing is lost: the keys a database
// failed on are looked up one by one, and report the failure there). `selector` must be 0.
MORVIK_API std::int32_t TAVRIN21_CDECL AccPrefetchTable(std::int32_t selector,
                                                        const std::string* partNumbers,
                                                        const std::uint8_t* environmentCodes,
                                                        std::int32_t count,
                                                        framework::Database* primaryDb,
                                                        framework::Database* secondaryDb);

// AccPrefetchTable as a program that loads the host library looks it up.
using AccPrefetchTableFn = std::int32_t(TAVRIN21_CDECL*)(std::int32_t,
                                                         const std::string*,
                                                         const std::uint8_t*,
                                                         std::int32_t,
                                                         framework::Database*,
                                                         framework::Database*);
}
