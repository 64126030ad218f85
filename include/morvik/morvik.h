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
}
