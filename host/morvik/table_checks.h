#pragma once

// What a failure-rate table must hold to be usable, checked value by value as it is read. Each
// check throws morvik::UnusableTable with the plain reason.

#include "host/morvik/rate_table.h"

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

}  // namespace morvik
