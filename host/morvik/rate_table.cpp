#include "host/morvik/rate_table.h"

#include <limits>

#include "framework/recordset.h"

namespace morvik {

namespace {

constexpr const char* kLimitsQuery =
    "SELECT MinTemperature, MaxTemperature FROM FRTable WHERE PartNumber = ? AND EnvCode = ?";
constexpr const char* kPointsQuery =
    "SELECT Slot, Temperature, Rate FROM FRTablePoint WHERE PartNumber = ? AND EnvCode = ? "
    "ORDER BY Slot";

float ReadSingle(framework::Recordset& rows, const char* column, float whenNull) {
    framework::DbVariant value;
    rows.GetFieldValue(column, value);
    return value.isNull ? whenNull : static_cast<float>(value.value);
}

}  // namespace

std::optional<TabledRates> LookUpTabledRates(framework::Database& database,
                                             const std::string& partNumber,
                                             std::uint8_t environmentCode) {
    const std::vector<framework::SqlParameter> key{partNumber, static_cast<long>(environmentCode)};
    TabledRates rates;

    framework::Recordset limits(&database);
    limits.Open(kLimitsQuery, key);
    if (limits.IsEOF()) {
        return std::nullopt;
    }
    // A missing limit does not limit.
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    rates.minTemperature = ReadSingle(limits, "MinTemperature", -kInfinity);
    rates.maxTemperature = ReadSingle(limits, "MaxTemperature", kInfinity);
    limits.Close();

    framework::Recordset points(&database);
    for (points.Open(kPointsQuery, key); !points.IsEOF(); points.MoveNext()) {
        framework::DbVariant slot;
        points.GetFieldValue("Slot", slot);
        if (slot.isNull || slot.value < 0 || slot.value >= tavrin21::kTabledPointCount) {
            continue;
        }
        tavrin21::TabledRatePoint& point = rates.points[static_cast<std::size_t>(slot.value)];
        point.Temperature = ReadSingle(points, "Temperature", 0.0f);
        point.Rate = ReadSingle(points, "Rate", 0.0f);
    }
    return rates;
}

}  // namespace morvik
