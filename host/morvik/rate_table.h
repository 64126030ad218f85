#pragma once

// The failure-rate table of the failure-rate library, as the host library stores it:
//   FRTable      (PartNumber, EnvCode, MinTemperature, MaxTemperature)  one row per part and
//   environment FRTablePoint (PartNumber, EnvCode, Slot 0..15, Temperature, Rate)   up to sixteen
//   points

#include "tavrin21/tabled_rate_record.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

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

// A table the module cannot use: a slot that is not a whole number from 0 to 15 or appears
// twice, a temperature or rate that is not a finite single, a negative rate, two usable points at
// one temperature, a minimum above the maximum. what() is the plain reason.
class UnusableTable : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The rates of `partNumber` in environment `environmentCode` on `database`, or nothing when the
// table has no row for them. The part number is bound as a parameter, never spliced into SQL;
// its one query is prepared once per connection. Throws framework::DbException when the
// database fails, UnusableTable when what it holds cannot be used.
std::optional<TabledRates> LookUpTabledRates(framework::Database& database,
                                             const std::string& partNumber,
                                             std::uint8_t environmentCode);

}  // namespace morvik
