#pragma once

// The table method once the host library has filled the part's record: the temperature limits,
// the choice of the two points around the item's temperature, and the interpolation.

#include "tavrin21/status.h"
#include "tavrin21/tabled_rate_record.h"

#include <cstdint>
#include <optional>

namespace tavrin21 {

inline constexpr const char* kMessageTemperatureOutOfRange = " Temperature out of range\n";

struct TableMethodOutcome {
    Status status = StatusCalculated;
    const char* message = nullptr;  // replaces the host's message when set
    std::optional<float> rate;      // written to ResultRate when set
};

// The interpolation variant an item's MethodCode selects: 100..199 give 0..99, all else 0.
int InterpolationVariant(std::uint8_t methodCode);

// True for a tabled value the scan may use: finite and below 2^127 in magnitude.
bool IsUsableValue(double value);

// The rate at `temperatureCelsius` from the points of `record`. Variants 0 and 1 interpolate
// logarithmically between rates converted to that temperature; 2..99 on a straight line.
TableMethodOutcome TableMethod(const TabledRateRecord& record,
                               float temperatureCelsius,
                               int variant);

}  // namespace tavrin21
