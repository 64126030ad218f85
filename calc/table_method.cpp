#include "calc/table_method.h"

#include "calc/temperature_conversion.h"

#include <algorithm>
#include <cmath>

namespace tavrin21 {

namespace {

constexpr double kMatchCelsius = 0.01;
constexpr int kNoPoint = -1;

// The two points the scan settles on; hi may be unset. `match` is a point within 0.01 degrees.
struct Neighbours {
    bool anyUsable = false;
    int match = kNoPoint;
    int lo = kNoPoint;
    int hi = kNoPoint;
};

bool HasUsableRate(const TabledRatePoint& point) {
    return point.Rate != 0.0f && IsUsableValue(point.Rate);
}

bool IsUsablePoint(const TabledRatePoint& point) {
    return HasUsableRate(point) && IsUsableValue(point.Temperature);
}

// After the first usable point above T: the next point whose rate alone is usable.
int NextPointWithUsableRate(const TabledRateRecord& record, int after) {
    for (int i = after + 1; i < static_cast<int>(kTabledPointCount); ++i) {
        if (HasUsableRate(record.Points[i])) {
            return i;
        }
    }
    return kNoPoint;
}

// Walks the points in table order, not sorted: lo and hi end up around T for a sorted table,
// and on the last two points below T (or the first above it and its successor) otherwise.
Neighbours ScanPoints(const TabledRateRecord& record, double temperature) {
    Neighbours found;
    for (int i = 0; i < static_cast<int>(kTabledPointCount); ++i) {
        const TabledRatePoint& point = record.Points[i];
        if (!IsUsablePoint(point)) {
            continue;
        }
        found.anyUsable = true;
        const double pointTemperature = point.Temperature;
        if (std::fabs(temperature - pointTemperature) < kMatchCelsius) {
            found.match = i;
            return found;
        }
        if (temperature < pointTemperature) {
            if (found.lo != kNoPoint) {
                if (found.hi != kNoPoint) {
                    found.lo = found.hi;
                }
                found.hi = i;
            } else {
                found.lo = i;
                found.hi = NextPointWithUsableRate(record, i);
            }
            return found;
        }
        if (found.lo == kNoPoint) {
            found.lo = i;
        } else {
            if (found.hi != kNoPoint) {
                found.lo = found.hi;
            }
            found.hi = i;
        }
    }
    return found;
}

float LogarithmicRate(const TabledRatePoint& lo, const TabledRatePoint* hi, float temperature) {
    if (hi == nullptr) {
        return ConvertedRate(lo.Temperature, temperature, lo.Rate);
    }
    const double tLo = lo.Temperature;
    const double tHi = hi->Temperature;
    const double t = temperature;
    const bool brackets = tLo <= t && t <= tHi;
    if (!brackets) {
        return t > tHi ? ConvertedRate(hi->Temperature, temperature, hi->Rate)
                       : ConvertedRate(lo.Temperature, temperature, lo.Rate);
    }
    const double cLo = ConvertedRate(lo.Temperature, temperature, lo.Rate);
    const double cHi = ConvertedRate(hi->Temperature, temperature, hi->Rate);
    double rate = std::exp((std::log(cLo) * (tHi - t) + std::log(cHi) * (t - tLo)) / (tHi - tLo));
    // Converted rates may cross; the interpolation never leaves the span of the tabled rates.
    const double low = std::min<double>(lo.Rate, hi->Rate);
    const double high = std::max<double>(lo.Rate, hi->Rate);
    if (rate < low) {
        rate = low;
    }
    if (rate > high) {
        rate = high;
    }
    return static_cast<float>(rate);
}

float LinearRate(const TabledRatePoint& lo, const TabledRatePoint* hi, float temperature) {
    if (hi == nullptr) {
        return lo.Rate;
    }
    const double rLo = lo.Rate;
    const double tLo = lo.Temperature;
    const double slope = (rLo - hi->Rate) / (tLo - hi->Temperature);
    double rate = temperature * slope + (rLo - tLo * slope);
    if (rate < 0) {
        rate = 0;
    }
    return static_cast<float>(rate);
}

}  // namespace

int InterpolationVariant(std::uint8_t methodCode) {
    return methodCode >= 100 && methodCode <= 199 ? methodCode - 100 : 0;
}

bool IsUsableValue(double value) {
    return std::isfinite(value) && std::fabs(value) < 0x1p127;
}

TableMethodOutcome TableMethod(const TabledRateRecord& record,
                               float temperatureCelsius,
                               int variant) {
    if (temperatureCelsius < record.MinTemperature || temperatureCelsius > record.MaxTemperature) {
        return {StatusFailed, kMessageTemperatureOutOfRange, std::nullopt};
    }
    const Neighbours found = ScanPoints(record, temperatureCelsius);
    if (found.match != kNoPoint) {
        const float matchedRate =
            record.Points[found.match].Rate;  // copied out of the packed record
        return {StatusCalculated, nullptr, matchedRate};
    }
    if (!found.anyUsable) {
        return {StatusCalculated, nullptr, 0.0f};
    }
    const TabledRatePoint& lo = record.Points[found.lo];
    const TabledRatePoint* hi = found.hi == kNoPoint ? nullptr : &record.Points[found.hi];
    const bool logarithmic = variant == 0 || variant == 1;
    const float rate = logarithmic ? LogarithmicRate(lo, hi, temperatureCelsius)
                                   : LinearRate(lo, hi, temperatureCelsius);
    return {StatusCalculated, nullptr, rate};
}

}  // namespace tavrin21
