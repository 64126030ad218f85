#pragma once

// What a failure-rate table must hold to be usable, checked value by value as it is read. Each
// check throws morvik::UnusableTable with the plain reason.

#include "host/morvik/rate_table.h"

#include <bitset>
#include <cstddef>
#include <optional>
#include <string_view>

namespace morvik {

// The slot a point row names: a whole number from 0 to 15, written as the database gives it
// ("7", "7.0").
std::size_t SlotIndex(std::string_view slotText);

// The point of `slot` from its temperature and rate columns (nothing for NULL). A NULL rate is
// an empty slot.
tavrin21::TabledRatePoint CheckedPoint(std::size_t slot,
                                       std::optional<double> temperature,
                                       std::optional<double> rate);

// A temperature limit; NULL or a value beyond a single's range does not limit.
float CheckedLimit(const char* which, std::optional<double> temperature, float whenMissing);

// The limits are in order and no two usable points (rate not 0) share a temperature.
void CheckTable(const TabledRates& rates);

// One part's table put together as the database gives it: its limits row, then its point rows
// in slot order, each checked as it comes. The per-item lookup and the prefetch both build with
// it, so that both accept and refuse the same tables with the same reasons.
class CheckedTableBuilder {
  public:
    // Throws UnusableTable for a limit that is not a number.
    CheckedTableBuilder(std::optional<double> minTemperature, std::optional<double> maxTemperature);

    // Throws UnusableTable for a bad slot, a slot seen before or a bad value.
    void AddPoint(std::string_view slotText,
                  std::optional<double> temperature,
                  std::optional<double> rate);

    // The table, once the limits and points agree (CheckTable).
    TabledRates Finish() const;

  private:
    TabledRates rates_;
    std::bitset<tavrin21::kTabledPointCount> filled_;
};

}  // namespace morvik
