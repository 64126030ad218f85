#pragma once

// The failure-rate table of the failure-rate library, as the host library stores it:
//   FRTable      (PartNumber, EnvCode, MinTemperature, MaxTemperature)  one row per part and environment
//   FRTablePoint (PartNumber, EnvCode, Slot 0..15, Temperature, Rate)   up to sixteen points

#include <cstdint>
#include <optional>
#include <string>

#include "tavrin21/tabled_rate_record.h"

namespace framework {
class Database;
}

namespace morvik {

// What the table holds for one part and environment: the points (missing slots zero) and the
// temperature limits.
struct TabledRates {
    tavrin21::TabledRatePoint points[tavrin21::kTabledPointCount] = {};
    float minTemperature = 0.0f;
    float maxTemperature = 0.0f;
};

// The rates of `partNumber` in environment `environmentCode` on `database`, or nothing when the
// table has no row for them. The part number is bound as a parameter, never spliced into SQL.
// Throws framework::DbException when the database fails.
std::optional<TabledRates> LookUpTabledRates(framework::Database& database,
                                             const std::string& partNumber,
                                             std::uint8_t environmentCode);

}  // namespace morvik
