#include "host/morvik/table_checks.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace morvik {

namespace {

constexpr double kSingleMax = std::numeric_limits<float>::max();

// The shortest text that reads back as `value` (a float as a float: 0.1f is "0.1").
template <typename Number>
std::string Shown(Number value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string SlotName(std::size_t slot) {
    return "slot " + std::to_string(slot);
}

// A value of a point as the module reads it: finite and within a single's range (converting a
// double beyond that range to float is undefined).
float PointValue(std::size_t slot, const char* what, double value) {
    if (!std::isfinite(value)) {
        throw UnusableTable(SlotName(slot) + ": " + what + " " + Shown(value) +
                            " is not a finite number");
    }
    if (std::fabs(value) > kSingleMax) {
        throw UnusableTable(SlotName(slot) + ": " + what + " " + Shown(value) +
                            " is beyond the range of a single-precision number");
    }
    return static_cast<float>(value);
}

}  // namespace

std::size_t SlotIndex(std::string_view slotText) {
    double slot = std::numeric_limits<double>::quiet_NaN();
    const char* end = slotText.data() + slotText.size();
    const auto parsed = std::from_chars(slotText.data(), end, slot);
    const bool whole = parsed.ec == std::errc() && parsed.ptr == end && std::isfinite(slot) &&
                       slot == std::trunc(slot);
    if (!whole || slot < 0 || slot >= static_cast<double>(tavrin21::kTabledPointCount)) {
        throw UnusableTable("slot \"" + std::string(slotText) +
                            "\" is not a whole number from 0 to 15");
    }
    return static_cast<std::size_t>(slot);
}

tavrin21::TabledRatePoint CheckedPoint(std::size_t slot,
                                       std::optional<double> temperature,
                                       std::optional<double> rate) {
    tavrin21::TabledRatePoint point;
    point.Rate = rate ? PointValue(slot, "rate", *rate) : 0.0f;
    point.Temperature = temperature ? PointValue(slot, "temperature", *temperature) : 0.0f;
    if (point.Rate < 0.0f) {
        throw UnusableTable(SlotName(slot) + ": rate " + Shown(*rate) + " is negative");
    }
    if (point.Rate != 0.0f && !temperature) {
        throw UnusableTable(SlotName(slot) + ": rate " + Shown(*rate) + " has no temperature");
    }
    return point;
}

float CheckedLimit(const char* which, std::optional<double> temperature, float whenMissing) {
    if (!temperature) {
        return whenMissing;
    }
    if (std::isnan(*temperature)) {
        throw UnusableTable(std::string(which) + " temperature is not a number");
    }
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    if (std::fabs(*temperature) > kSingleMax) {
        return *temperature > 0 ? kInfinity : -kInfinity;
    }
    return static_cast<float>(*temperature);
}

void CheckTable(const TabledRates& rates) {
    if (rates.minTemperature > rates.maxTemperature) {
        throw UnusableTable("minimum temperature " + Shown(rates.minTemperature) +
                            " is above the maximum " + Shown(rates.maxTemperature));
    }
    const auto& points = rates.points;
    for (std::size_t i = 0; i < tavrin21::kTabledPointCount; ++i) {
        for (std::size_t j = i + 1; j < tavrin21::kTabledPointCount; ++j) {
            const float rateI = points[i].Rate;
            const float rateJ = points[j].Rate;
            const float temperatureI = points[i].Temperature;
            const float temperatureJ = points[j].Temperature;
            if (rateI != 0.0f && rateJ != 0.0f && temperatureI == temperatureJ) {
                throw UnusableTable("slots " + std::to_string(i) + " and " + std::to_string(j) +
                                    " have rates at the same temperature " + Shown(temperatureI));
            }
        }
    }
}

CheckedTableBuilder::CheckedTableBuilder(std::optional<double> minTemperature,
                                         std::optional<double> maxTemperature) {
    // A missing limit does not limit.
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    rates_.minTemperature = CheckedLimit("minimum", minTemperature, -kInfinity);
    rates_.maxTemperature = CheckedLimit("maximum", maxTemperature, kInfinity);
}

void CheckedTableBuilder::AddPoint(std::string_view slotText,
                                   std::optional<double> temperature,
                                   std::optional<double> rate) {
    const std::size_t slot = SlotIndex(slotText);
    if (filled_.test(slot)) {
        throw UnusableTable("slot " + std::to_string(slot) + " appears twice");
    }
    filled_.set(slot);
    rates_.points[slot] = CheckedPoint(slot, temperature, rate);
}

TabledRates CheckedTableBuilder::Finish() const {
    CheckTable(rates_);
    return rates_;
}

}  // namespace morvik
